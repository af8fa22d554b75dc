#pragma once
// A region of pixels: rectangles, ellipses, rounded rectangles and polygons,
// combined and offset like sets.

#include "surface/box.h"
#include "surface/surface_types.h"

#include <QPoint>
#include <QRegion>

#include <span>
#include <vector>

namespace mirel {

class Region {
public:
    enum class Combine { And, Or, Xor, Diff, Copy };

    Region() = default;
    explicit Region(const QRegion& r) : region_(r) {}

    static Region rect(const Box& b);
    static Region ellipse(const Box& b);
    // ellipseWidth and ellipseHeight are the size of the corner ellipses.
    static Region roundRect(const Box& b, int ellipseWidth, int ellipseHeight);
    static Region polygon(std::span<const QPoint> points,
                          PolyFillMode mode = PolyFillMode::Alternate);

    // this := this <op> other (Copy: this := other).
    Region& combine(const Region& other, Combine op);
    Region combined(const Region& other, Combine op) const;
    Region& offset(int dx, int dy);

    bool isEmpty() const { return region_.isEmpty(); }
    bool contains(QPoint p) const { return region_.contains(p); }
    // True when any part of the box lies in the region.
    bool intersects(const Box& b) const;
    Box boundingBox() const { return Box::fromQRect(region_.boundingRect()); }
    std::vector<Box> rects() const;

    const QRegion& qregion() const { return region_; }
    friend bool operator==(const Region& a, const Region& b) { return a.region_ == b.region_; }

private:
    QRegion region_;
};

}  // namespace mirel
