#pragma once
// The system colours drawing code asks for, fixed to the classic desktop
// scheme so that screen, printer and converter output agree.

#include "surface/colorref.h"

namespace mirel::SysColor {

constexpr ColorRef ButtonFace = 0xC0C0C0;
constexpr ColorRef ButtonShadow = 0x808080;
constexpr ColorRef ButtonHighlight = 0xFFFFFF;
constexpr ColorRef ButtonText = 0x000000;
constexpr ColorRef Window = 0xFFFFFF;
constexpr ColorRef WindowText = 0x000000;
constexpr ColorRef Highlight = 0x800000;  // dark blue (R 0, G 0, B 128)
constexpr ColorRef HighlightText = 0xFFFFFF;
constexpr ColorRef GrayText = 0x808080;

}  // namespace mirel::SysColor
