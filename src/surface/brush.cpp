#include "surface/brush.h"

namespace mirel {

Qt::BrushStyle qtHatchStyle(int hatch)
{
    switch (hatch) {
    case Hatch::Horizontal: return Qt::HorPattern;
    case Hatch::Vertical: return Qt::VerPattern;
    case Hatch::ForwardDiagonal: return Qt::FDiagPattern;
    case Hatch::BackwardDiagonal: return Qt::BDiagPattern;
    case Hatch::Cross: return Qt::CrossPattern;
    case Hatch::DiagonalCross: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
    }
}

Brush Brush::hatched(int hatch, ColorRef c)
{
    if (qtHatchStyle(hatch) == Qt::NoBrush)
        return hollow();
    return Brush{Kind::Hatched, c, hatch, {}};
}

Brush Brush::fromPattern(const QImage& image)
{
    if (image.isNull())
        return hollow();
    return Brush{Kind::Pattern, 0, 0, image};
}

}  // namespace mirel
