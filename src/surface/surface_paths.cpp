// The path bracket: figures drawn between beginPath and endPath build a
// path that is then stroked, filled, read back or turned into a region.

#include "surface/surface.h"

namespace mirel {
namespace {

// Appends one subpath; a subpath that ends where it began is reported as
// closed on its last distinct point.
void appendFigure(std::vector<PathPoint>& out, std::vector<PathPoint>& figure)
{
    if (figure.size() > 1 && figure.front().point == figure.back().point) {
        figure.pop_back();
        figure.back().closesFigure = true;
    }
    out.insert(out.end(), figure.begin(), figure.end());
    figure.clear();
}

QPoint rounded(const QPointF& p)
{
    return QPoint(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y())));
}

}  // namespace

void Surface::beginPath()
{
    path_ = QPainterPath();
    pathState_ = PathState::Open;
}

void Surface::endPath()
{
    if (pathState_ == PathState::Open)
        pathState_ = PathState::Closed;
}

void Surface::abortPath()
{
    path_ = QPainterPath();
    pathState_ = PathState::None;
}

void Surface::closeFigure()
{
    if (pathState_ == PathState::Open && path_.elementCount() > 0)
        path_.closeSubpath();
}

void Surface::strokePath()
{
    if (pathState_ != PathState::Closed)
        return;
    if (resolvePen(state_.pen).visible && !path_.isEmpty())
        renderPath({}, path_, false, true);
    abortPath();
}

void Surface::fillPath()
{
    if (pathState_ != PathState::Closed)
        return;
    QPainterPath area = path_;
    area.setFillRule(state_.fillMode == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    if (!state_.brush.isHollow() && !area.isEmpty())
        renderPath(area, {}, true, false);
    abortPath();
}

void Surface::strokeAndFillPath()
{
    if (pathState_ != PathState::Closed)
        return;
    QPainterPath area = path_;
    area.setFillRule(state_.fillMode == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    const bool fill = !state_.brush.isHollow() && !area.isEmpty();
    const bool stroke = resolvePen(state_.pen).visible && !path_.isEmpty();
    if (fill || stroke)
        renderPath(area, path_, fill, stroke);
    abortPath();
}

std::vector<PathPoint> Surface::pathPoints(bool flatten) const
{
    std::vector<PathPoint> out;
    if (pathState_ != PathState::Closed)
        return out;
    const QPointF shift(-state_.origin);
    std::vector<PathPoint> figure;
    if (flatten) {
        for (const QPolygonF& poly : path_.toSubpathPolygons()) {
            for (qsizetype i = 0; i < poly.size(); ++i)
                figure.push_back(PathPoint{rounded(poly[i] + shift),
                                           i == 0 ? PathPoint::Type::MoveTo : PathPoint::Type::LineTo,
                                           false});
            appendFigure(out, figure);
        }
        return out;
    }
    for (int i = 0; i < path_.elementCount(); ++i) {
        const QPainterPath::Element e = path_.elementAt(i);
        PathPoint::Type type = PathPoint::Type::LineTo;
        if (e.isMoveTo()) {
            appendFigure(out, figure);
            type = PathPoint::Type::MoveTo;
        } else if (e.isCurveTo() || e.type == QPainterPath::CurveToDataElement) {
            type = PathPoint::Type::BezierTo;
        }
        figure.push_back(PathPoint{rounded(QPointF(e.x, e.y) + shift), type, false});
    }
    appendFigure(out, figure);
    return out;
}

Region Surface::pathToRegion()
{
    if (pathState_ != PathState::Closed)
        return Region();
    QRegion r;
    const QTransform shift = QTransform::fromTranslate(-state_.origin.x(), -state_.origin.y());
    const Qt::FillRule rule =
        state_.fillMode == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill;
    for (const QPolygonF& poly : path_.toFillPolygons(shift)) {
        const QRegion part(poly.toPolygon(), rule);
        r = rule == Qt::OddEvenFill ? r.xored(part) : r.united(part);
    }
    abortPath();
    return Region(r);
}

}  // namespace mirel
