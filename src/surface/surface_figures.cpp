// Figures and regions: turned into device-space paths here, rendered (or
// added to the open path) by the surface.

#include "surface/surface.h"

#include <QPolygonF>

#include <cmath>

namespace mirel {
namespace {

enum ArcKind { kArc = 0, kPie = 1, kChord = 2 };

// Parametric angle (degrees, counter-clockwise, y up) at which the ray from
// the centre of `r` in direction (dx, dy) meets its ellipse.
double rayAngle(const QRectF& r, double dx, double dy)
{
    const double rx = r.width() / 2;
    const double ry = r.height() / 2;
    if (rx <= 0 || ry <= 0 || (dx == 0 && dy == 0))
        return 0;
    return std::atan2(-dy / ry, dx / rx) * 180.0 / M_PI;
}

}  // namespace

QPainterPath Surface::polyPath(std::span<const QPoint> points, bool close) const
{
    QPainterPath path;
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const QPoint& p : points)
        poly << toDevice(p);
    path.addPolygon(poly);
    if (close)
        path.closeSubpath();
    path.setFillRule(state_.fillMode == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    return path;
}

QRectF Surface::outlineRect(const Box& box) const
{
    // The outline runs along the outermost pixels of the box; an
    // inside-frame pen is pulled in so that all of its width stays inside.
    const Box n = box.normalized();
    int l = n.left, t = n.top, r = n.right - 1, b = n.bottom - 1;
    const ResolvedPen pen = resolvePen(state_.pen);
    if (pen.insideFrame && pen.width > 1) {
        l += pen.width / 2;
        t += pen.width / 2;
        r -= (pen.width - 1) / 2;
        b -= (pen.width - 1) / 2;
        if (r < l)
            l = r = (l + r) / 2;
        if (b < t)
            t = b = (t + b) / 2;
    }
    return QRectF(toDevice(QPoint(l, t)), toDevice(QPoint(r, b)));
}

void Surface::figure(const QPainterPath& area, const QPainterPath& outline, bool fill)
{
    if (pathOpen()) {
        addToPath(outline, false);
        return;
    }
    const bool doFill = fill && !state_.brush.isHollow() && !area.isEmpty();
    const bool doStroke = resolvePen(state_.pen).visible && !outline.isEmpty();
    if (doFill || doStroke)
        renderPath(area, outline, doFill, doStroke);
}

void Surface::addToPath(const QPainterPath& p, bool connect)
{
    if (connect && path_.elementCount() > 0)
        path_.connectPath(p);
    else
        path_.addPath(p);
}

QPoint Surface::moveTo(QPoint p)
{
    const QPoint old = state_.position;
    state_.position = p;
    if (pathOpen())
        path_.moveTo(toDevice(p));
    return old;
}

void Surface::lineTo(QPoint p)
{
    if (pathOpen()) {
        if (path_.elementCount() == 0)
            path_.moveTo(toDevice(state_.position));
        path_.lineTo(toDevice(p));
    } else {
        QPainterPath outline;
        outline.moveTo(toDevice(state_.position));
        outline.lineTo(toDevice(p));
        figure({}, outline, false);
    }
    state_.position = p;
}

void Surface::polyline(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    figure({}, polyPath(points, false), false);
}

void Surface::polygon(std::span<const QPoint> points)
{
    if (points.size() < 2)
        return;
    const QPainterPath path = polyPath(points, true);
    figure(path, path, true);
}

void Surface::rectangle(const Box& box)
{
    const Box n = box.normalized();
    if (n.isEmpty())
        return;
    QPainterPath area;
    area.addRect(QRectF(toDevice(QPoint(n.left, n.top)), toDevice(QPoint(n.right, n.bottom))));
    QPainterPath outline;
    outline.addRect(outlineRect(n));
    figure(area, outline, true);
}

void Surface::roundRect(const Box& box, int ellipseWidth, int ellipseHeight)
{
    const Box n = box.normalized();
    if (n.isEmpty())
        return;
    const double rx = std::abs(ellipseWidth) / 2.0;
    const double ry = std::abs(ellipseHeight) / 2.0;
    QPainterPath area;
    area.addRoundedRect(QRectF(toDevice(QPoint(n.left, n.top)), toDevice(QPoint(n.right, n.bottom))),
                        rx, ry);
    QPainterPath outline;
    outline.addRoundedRect(outlineRect(n), rx, ry);
    figure(area, outline, true);
}

void Surface::ellipse(const Box& box)
{
    const Box n = box.normalized();
    if (n.isEmpty())
        return;
    QPainterPath area;
    area.addEllipse(QRectF(toDevice(QPoint(n.left, n.top)), toDevice(QPoint(n.right, n.bottom))));
    QPainterPath outline;
    outline.addEllipse(outlineRect(n));
    figure(area, outline, true);
}

QPainterPath Surface::arcPath(const Box& box, QPoint start, QPoint end, int kind)
{
    if (box.normalized().isEmpty())
        return {};
    const QRectF r = outlineRect(box);
    const QPointF c = r.center();
    const QPointF s = toDevice(start) - c;
    const QPointF e = toDevice(end) - c;
    const double a0 = rayAngle(r, s.x(), s.y());
    double span = rayAngle(r, e.x(), e.y()) - a0;
    while (span <= 0)
        span += 360;
    while (span > 360)
        span -= 360;
    QPainterPath path;
    if (kind == kPie) {
        path.moveTo(c);
        path.arcTo(r, a0, span);
        path.closeSubpath();
    } else {
        path.arcMoveTo(r, a0);
        path.arcTo(r, a0, span);
        if (kind == kChord)
            path.closeSubpath();
    }
    return path;
}

void Surface::arc(const Box& box, QPoint start, QPoint end)
{
    figure({}, arcPath(box, start, end, kArc), false);
}

void Surface::pie(const Box& box, QPoint start, QPoint end)
{
    const QPainterPath path = arcPath(box, start, end, kPie);
    figure(path, path, true);
}

void Surface::chord(const Box& box, QPoint start, QPoint end)
{
    const QPainterPath path = arcPath(box, start, end, kChord);
    figure(path, path, true);
}

void Surface::fillRect(const Box& box, const Brush& brush)
{
    const Box n = box.normalized();
    if (n.isEmpty() || brush.isHollow())
        return;
    QPainterPath area;
    area.addRect(QRectF(toDevice(QPoint(n.left, n.top)), toDevice(QPoint(n.right, n.bottom))));
    renderFill(area, brush, BltOp::Copy);
}

void Surface::patBlt(const Box& box, BltOp op)
{
    const Box n = box.normalized();
    if (n.isEmpty())
        return;
    if (state_.brush.isHollow() && (op == BltOp::Copy || op == BltOp::Xor || op == BltOp::And ||
                                    op == BltOp::Or))
        return;
    QPainterPath area;
    area.addRect(QRectF(toDevice(QPoint(n.left, n.top)), toDevice(QPoint(n.right, n.bottom))));
    renderFill(area, state_.brush, op);
}

// --- Regions ---

void Surface::fillRegion(const Region& region, const Brush& brush)
{
    if (region.isEmpty() || brush.isHollow())
        return;
    QPainterPath area;
    area.addRegion(region.qregion().translated(state_.origin));
    renderFill(area, brush, BltOp::Copy);
}

void Surface::frameRegion(const Region& region, const Brush& brush, int width, int height)
{
    if (region.isEmpty() || brush.isHollow() || width <= 0 || height <= 0)
        return;
    // The frame is what is left after taking away the part of the region
    // that stays inside it when shifted by the frame size in each direction.
    const QRegion& r = region.qregion();
    const QRegion inner = r.intersected(r.translated(width, 0))
                              .intersected(r.translated(-width, 0))
                              .intersected(r.translated(0, height))
                              .intersected(r.translated(0, -height));
    QPainterPath area;
    area.addRegion(r.subtracted(inner).translated(state_.origin));
    renderFill(area, brush, BltOp::Copy);
}

void Surface::paintRegion(const Region& region)
{
    if (region.isEmpty() || state_.brush.isHollow())
        return;
    QPainterPath area;
    area.addRegion(region.qregion().translated(state_.origin));
    renderFill(area, state_.brush, BltOp::Copy);
}

void Surface::invertRegion(const Region& region)
{
    if (region.isEmpty())
        return;
    QPainterPath area;
    area.addRegion(region.qregion().translated(state_.origin));
    renderFill(area, Brush::solid(0), BltOp::InvertDest);
}

}  // namespace mirel
