#pragma once
// Colours as documents store them: COLORREF values 0x00BBGGRR.

#include <QColor>
#include <cstdint>

namespace mirel {

using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(int r, int g, int b)
{
    return static_cast<ColorRef>(r & 0xFF) | (static_cast<ColorRef>(g & 0xFF) << 8) |
           (static_cast<ColorRef>(b & 0xFF) << 16);
}
constexpr int RedOf(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

// Values with a meaning of their own in documents.
constexpr ColorRef kNoTextBackground = 0xFFFFFF;  // text: no background colour
constexpr ColorRef kNoFillColor = 0xFF000000;     // fills: no colour chosen

// The high byte is ignored: a COLORREF names an opaque RGB colour.
QColor toQColor(ColorRef c);
// Alpha is dropped; the result always has a zero high byte.
ColorRef fromQColor(const QColor& c);

}  // namespace mirel
