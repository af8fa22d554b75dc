#pragma once
// Brushes: solid colour, the six hatches, a picture pattern, or hollow.

#include "surface/colorref.h"

#include <QImage>
#include <Qt>

namespace mirel {

// Hatch indices as documents store them.
namespace Hatch {
constexpr int Horizontal = 0;
constexpr int Vertical = 1;
constexpr int ForwardDiagonal = 2;   // lines running down to the right
constexpr int BackwardDiagonal = 3;  // lines running up to the right
constexpr int Cross = 4;
constexpr int DiagonalCross = 5;
constexpr int None = 99;             // the "no hatch" value of filled objects
}  // namespace Hatch

// The Qt pattern of a hatch index; Qt::NoBrush for any index outside 0..5.
Qt::BrushStyle qtHatchStyle(int hatch);

struct Brush {
    enum class Kind { Hollow, Solid, Hatched, Pattern };

    Kind kind = Kind::Solid;
    ColorRef color = 0xFFFFFF;  // solid colour, or the colour of hatch lines
    int hatch = Hatch::Horizontal;
    QImage pattern;             // tiled from the brush origin

    static Brush hollow() { return Brush{Kind::Hollow, 0, 0, {}}; }
    static Brush solid(ColorRef c) { return Brush{Kind::Solid, c, 0, {}}; }
    // A hatch index outside 0..5 gives a hollow brush.
    static Brush hatched(int hatch, ColorRef c);
    static Brush fromPattern(const QImage& image);

    bool isHollow() const { return kind == Kind::Hollow; }
    friend bool operator==(const Brush& a, const Brush& b)
    {
        return a.kind == b.kind && a.color == b.color && a.hatch == b.hatch &&
               a.pattern == b.pattern;
    }
};

}  // namespace mirel
