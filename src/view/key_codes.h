#pragma once
// Keys as the component's tools and its host see them: Windows virtual-key
// codes, translated from Qt's key numbers.

namespace mirel::vk {
inline constexpr int Back = 0x08;
inline constexpr int Tab = 0x09;
inline constexpr int Return = 0x0D;
inline constexpr int Shift = 0x10;
inline constexpr int Control = 0x11; // 17
inline constexpr int Menu = 0x12;
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int Prior = 0x21; // Page Up
inline constexpr int Next = 0x22; // Page Down
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;
inline constexpr int F1 = 0x70;
inline constexpr int F5 = 0x74;
inline constexpr int F6 = 0x75;
} // namespace mirel::vk

namespace mirel {

// The virtual-key code of a Qt key (Qt::Key), or 0 when it has none.
int VirtualKeyFromQt(int qtKey);

} // namespace mirel
