#pragma once
// Pens by the line style codes documents store, and how each code becomes
// a Qt pen.

#include "surface/colorref.h"

#include <Qt>

namespace mirel {

// Line style codes of outlines, borders and cell lines.
namespace LineStyle {
constexpr int Solid = 0;
constexpr int Dash = 1;        // always one pixel wide
constexpr int Dot = 2;         // always one pixel wide
constexpr int DashDot = 3;     // always one pixel wide
constexpr int DashDotDot = 4;  // always one pixel wide
constexpr int Null = 5;        // no line at all
constexpr int InsideFrame = 6; // solid, kept inside the figure's box
constexpr int TwoPixelSolid = 100;
constexpr int ThreePixelSolid = 101;
// Composite frames (two lines each); painted as separate lines by the frame
// painter of filled objects. A pen of one of these codes draws one solid line.
constexpr int DoubleThin = 102;
constexpr int DoubleFat = 103;
constexpr int FatOuterThinInner = 104;
constexpr int ThinOuterFatInner = 105;
constexpr int CompositeLast = 106;
}  // namespace LineStyle

constexpr bool isCompositeLineStyle(int code)
{
    return code >= LineStyle::DoubleThin && code <= LineStyle::CompositeLast;
}

struct Pen {
    int style = LineStyle::Solid;  // a LineStyle code
    int width = 1;                 // device pixels; 0 counts as 1
    ColorRef color = 0;

    static Pen null() { return Pen{LineStyle::Null, 1, 0}; }
    friend bool operator==(const Pen&, const Pen&) = default;
};

// What a pen draws with, after the rules of its code are applied.
struct ResolvedPen {
    Qt::PenStyle qtStyle = Qt::SolidLine;
    int width = 1;             // pixels, at least 1
    bool insideFrame = false;  // closed figures keep the line inside their box
    bool visible = true;       // false for the null style
};

// Styles 1-4 are forced to one pixel; 100 and 101 default to 2 and 3 pixels
// when no width is given (width <= 0); unknown codes draw a solid line.
ResolvedPen resolvePen(const Pen& pen);

}  // namespace mirel
