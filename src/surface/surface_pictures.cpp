#include "surface/surface.h"

namespace mirel {

void Surface::drawImage(const Box& dest, const QImage& image, const std::optional<Box>& source)
{
    const Box d = dest.normalized();
    if (image.isNull() || d.isEmpty())
        return;
    const QRect src = source ? source->normalized().toQRect().intersected(image.rect()) : image.rect();
    if (src.isEmpty())
        return;
    renderImage(QRectF(toDevice(QPoint(d.left, d.top)), toDevice(QPoint(d.right, d.bottom))), image,
                src, BltOp::Copy);
}

QImage Surface::readImage(const Box& box) const
{
    const Box n = box.normalized();
    if (n.isEmpty())
        return {};
    const QImage grabbed = grabDevice(n.toQRect().translated(state_.origin));
    return grabbed.isNull() ? grabbed : grabbed.convertToFormat(QImage::Format_RGB888);
}

bool Surface::bitBlt(const Box& dest, const Surface& source, QPoint sourceTopLeft, BltOp op)
{
    const Box d = dest.normalized();
    if (d.isEmpty())
        return true;
    const QRectF devDest(toDevice(QPoint(d.left, d.top)), toDevice(QPoint(d.right, d.bottom)));
    if (op == BltOp::InvertDest || op == BltOp::Blackness || op == BltOp::Whiteness) {
        QPainterPath area;
        area.addRect(devDest);
        renderFill(area, Brush::solid(0), op);
        return true;
    }
    const QImage pixels = source.readImage(
        Box{sourceTopLeft.x(), sourceTopLeft.y(), sourceTopLeft.x() + d.width(),
            sourceTopLeft.y() + d.height()});
    if (pixels.isNull())
        return false;
    renderImage(devDest, pixels, pixels.rect(), op);
    return true;
}

}  // namespace mirel
