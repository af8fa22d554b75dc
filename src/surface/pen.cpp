#include "surface/pen.h"

#include <algorithm>

namespace mirel {

ResolvedPen resolvePen(const Pen& pen)
{
    ResolvedPen r;
    const int given = std::max(1, pen.width);
    switch (pen.style) {
    case LineStyle::Solid:
        r.width = given;
        break;
    case LineStyle::Dash:
        r.qtStyle = Qt::DashLine;
        break;
    case LineStyle::Dot:
        r.qtStyle = Qt::DotLine;
        break;
    case LineStyle::DashDot:
        r.qtStyle = Qt::DashDotLine;
        break;
    case LineStyle::DashDotDot:
        r.qtStyle = Qt::DashDotDotLine;
        break;
    case LineStyle::Null:
        r.qtStyle = Qt::NoPen;
        r.visible = false;
        break;
    case LineStyle::InsideFrame:
        r.width = given;
        r.insideFrame = true;
        break;
    case LineStyle::TwoPixelSolid:
        r.width = pen.width > 0 ? pen.width : 2;
        break;
    case LineStyle::ThreePixelSolid:
        r.width = pen.width > 0 ? pen.width : 3;
        break;
    default:
        r.width = given;
        break;
    }
    return r;
}

}  // namespace mirel
