#pragma once
// Small value types shared by every drawing surface.

#include <QPoint>
#include <QSize>

namespace mirel {

enum class BkMode { Transparent = 1, Opaque = 2 };

// Which parts of a self-intersecting polygon count as inside.
enum class PolyFillMode { Alternate = 1, Winding = 2 };

// How pens and brushes combine with what is already on the device. Only
// bitmap surfaces combine exactly; other devices draw in plain copy mode.
enum class RasterOp { CopyPen, XorPen, NotXorPen, Invert };

// Block transfers and pattern fills.
enum class BltOp {
    Copy,        // source replaces destination
    Xor,         // source XOR destination
    And,         // source AND destination
    Or,          // source OR destination
    InvertDest,  // destination inverted, source unused
    Blackness,
    Whiteness,
};

// Scaling of pictures: nearest pixel or smoothed.
enum class StretchMode { Nearest, Smooth };

// Text alignment flags, combined with |: one horizontal and one vertical.
namespace TextAlign {
constexpr unsigned Left = 0;
constexpr unsigned Right = 2;
constexpr unsigned Center = 6;
constexpr unsigned Top = 0;
constexpr unsigned Bottom = 8;
constexpr unsigned Baseline = 24;
constexpr unsigned HorizontalMask = 6;
constexpr unsigned VerticalMask = 24;
}  // namespace TextAlign

// What a device reports about itself. One logical unit is one device pixel.
struct DeviceInfo {
    int dpiX = 96;
    int dpiY = 96;
    QSize size;               // printable (drawable) area in pixels
    QPoint physicalOffset;    // printable area's offset from the sheet corner
    bool isPrinter = false;
};

}  // namespace mirel
