#include "surface/region.h"

#include <QPainterPath>
#include <QPolygon>

#include <cstdlib>

namespace mirel {

Region Region::rect(const Box& b)
{
    const Box n = b.normalized();
    return Region(QRegion(n.toQRect()));
}

Region Region::ellipse(const Box& b)
{
    const Box n = b.normalized();
    if (n.isEmpty())
        return Region();
    return Region(QRegion(n.toQRect(), QRegion::Ellipse));
}

Region Region::roundRect(const Box& b, int ellipseWidth, int ellipseHeight)
{
    const Box n = b.normalized();
    if (n.isEmpty())
        return Region();
    QPainterPath path;
    path.addRoundedRect(QRectF(n.toQRect()), std::abs(ellipseWidth) / 2.0,
                        std::abs(ellipseHeight) / 2.0);
    return Region(QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill));
}

Region Region::polygon(std::span<const QPoint> points, PolyFillMode mode)
{
    if (points.size() < 3)
        return Region();
    QPolygon poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const QPoint& p : points)
        poly.append(p);
    return Region(QRegion(poly, mode == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill));
}

Region& Region::combine(const Region& other, Combine op)
{
    switch (op) {
    case Combine::And: region_ = region_.intersected(other.region_); break;
    case Combine::Or: region_ = region_.united(other.region_); break;
    case Combine::Xor: region_ = region_.xored(other.region_); break;
    case Combine::Diff: region_ = region_.subtracted(other.region_); break;
    case Combine::Copy: region_ = other.region_; break;
    }
    return *this;
}

Region Region::combined(const Region& other, Combine op) const
{
    Region r = *this;
    r.combine(other, op);
    return r;
}

Region& Region::offset(int dx, int dy)
{
    region_.translate(dx, dy);
    return *this;
}

bool Region::intersects(const Box& b) const
{
    const Box n = b.normalized();
    return !n.isEmpty() && region_.intersects(n.toQRect());
}

std::vector<Box> Region::rects() const
{
    std::vector<Box> out;
    for (const QRect& r : region_)
        out.push_back(Box::fromQRect(r));
    return out;
}

}  // namespace mirel
