#include "surface/draw_surface.h"

#include <QPaintEngine>
#include <QPdfWriter>

namespace mirel {
namespace {

DeviceInfo infoFor(const QPaintDevice& device, const DeviceOptions& o)
{
    DeviceInfo info;
    info.dpiX = o.dpiX.value_or(device.logicalDpiX());
    info.dpiY = o.dpiY.value_or(device.logicalDpiY());
    info.size = o.size.value_or(QSize(device.width(), device.height()));
    info.isPrinter = o.isPrinter;
    info.physicalOffset = o.physicalOffset;
    return info;
}

DeviceInfo imageInfo(const QImage& image, int dpiX, int dpiY)
{
    DeviceInfo info;
    info.dpiX = dpiX;
    info.dpiY = dpiY;
    info.size = image.size();
    return info;
}

}  // namespace

DeviceOptions DeviceOptions::forPdfWriter(const QPdfWriter& writer)
{
    DeviceOptions o;
    o.dpiX = o.dpiY = writer.resolution();
    o.isPrinter = true;
    o.physicalOffset = writer.pageLayout().paintRectPixels(writer.resolution()).topLeft();
    return o;
}

QPen toQPen(const Pen& pen)
{
    const ResolvedPen r = resolvePen(pen);
    if (!r.visible)
        return QPen(Qt::NoPen);
    QPen q(toQColor(pen.color), r.width, r.qtStyle, Qt::FlatCap, Qt::MiterJoin);
    return q;
}

QBrush toQBrush(const Brush& brush)
{
    switch (brush.kind) {
    case Brush::Kind::Solid: return QBrush(toQColor(brush.color));
    case Brush::Kind::Hatched: return QBrush(toQColor(brush.color), qtHatchStyle(brush.hatch));
    case Brush::Kind::Pattern: return QBrush(brush.pattern);
    case Brush::Kind::Hollow: break;
    }
    return QBrush(Qt::NoBrush);
}

DrawSurface::DrawSurface(const DeviceInfo& info, const FontMetricsProvider* metrics)
    : Surface(info, metrics)
{
}

DrawSurface::DrawSurface(QImage& image, int dpiX, int dpiY, const FontMetricsProvider* metrics)
    : Surface(imageInfo(image, dpiX, dpiY), metrics)
{
    image_ = &image;
    ownedPainter_ = std::make_unique<QPainter>(&image);
    attach(ownedPainter_.get());
}

DrawSurface::DrawSurface(QPaintDevice& device, const DeviceOptions& options)
    : Surface(infoFor(device, options), options.metrics)
{
    if (device.devType() == QInternal::Image)
        image_ = static_cast<QImage*>(&device);
    ownedPainter_ = std::make_unique<QPainter>(&device);
    attach(ownedPainter_.get());
}

DrawSurface::DrawSurface(QPainter& painter, const DeviceOptions& options)
    : Surface(painter.device() ? infoFor(*painter.device(), options) : DeviceInfo{},
              options.metrics)
{
    borrowed_ = true;
    if (painter.device() && painter.device()->devType() == QInternal::Image)
        image_ = static_cast<QImage*>(painter.device());
    painter.save();
    if (painter.hasClipping())
        setBaseClip(painter.clipRegion());
    base_ = painter.worldTransform();
    attach(&painter);
}

DrawSurface::~DrawSurface()
{
    if (borrowed_ && painter_)
        painter_->restore();
    end();
}

void DrawSurface::attach(QPainter* painter)
{
    painter_ = painter;
    if (painter_->isActive())
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
}

void DrawSurface::end()
{
    if (ownedPainter_ && ownedPainter_->isActive())
        ownedPainter_->end();
}

std::unique_ptr<DrawSurface> DrawSurface::makeBitmap(QSize size, int dpiX, int dpiY, ColorRef fill,
                                                     const FontMetricsProvider* metrics)
{
    auto image = std::make_unique<QImage>(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image->fill(toQColor(fill));
    std::unique_ptr<DrawSurface> s(
        new DrawSurface(imageInfo(*image, dpiX, dpiY), metrics));
    s->image_ = image.get();
    s->ownedImage_ = std::move(image);
    s->ownedPainter_ = std::make_unique<QPainter>(s->ownedImage_.get());
    s->attach(s->ownedPainter_.get());
    return s;
}

std::unique_ptr<DrawSurface> DrawSurface::makeCompatibleBitmap(QSize size) const
{
    return makeBitmap(size, deviceInfo().dpiX, deviceInfo().dpiY, 0xFFFFFF, &metricsProvider());
}

bool DrawSurface::supportsRasterOps() const
{
    // Only the raster engine really combines with the pixels below; the PDF
    // engine claims the feature but cannot.
    return painter_ && painter_->isActive() && painter_->paintEngine() &&
           painter_->paintEngine()->type() == QPaintEngine::Raster;
}

bool DrawSurface::prepare()
{
    if (!painter_ || !painter_->isActive())
        return false;
    if (appliedSerial_ != stateSerial()) {
        painter_->setWorldTransform(base_);
        const std::optional<QRegion> clip = effectiveDeviceClip();
        if (clip)
            painter_->setClipRegion(*clip);
        else
            painter_->setClipping(false);
        painter_->setBackgroundMode(bkMode() == BkMode::Opaque ? Qt::OpaqueMode
                                                               : Qt::TransparentMode);
        painter_->setBackground(QBrush(toQColor(bkColor())));
        painter_->setBrushOrigin(0, 0);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform,
                                stretchMode() == StretchMode::Smooth);
        appliedSerial_ = stateSerial();
    }
    return true;
}

void DrawSurface::setComposition(QPainter::CompositionMode mode)
{
    if (mode >= QPainter::RasterOp_SourceOrDestination && !supportsRasterOps())
        mode = QPainter::CompositionMode_SourceOver;
    painter_->setCompositionMode(mode);
}

void DrawSurface::renderPath(const QPainterPath& area, const QPainterPath& outline, bool fill,
                             bool stroke)
{
    if (!prepare())
        return;
    switch (rasterOp()) {
    case RasterOp::CopyPen: setComposition(QPainter::CompositionMode_SourceOver); break;
    case RasterOp::XorPen: setComposition(QPainter::RasterOp_SourceXorDestination); break;
    case RasterOp::NotXorPen: setComposition(QPainter::RasterOp_NotSourceXorDestination); break;
    case RasterOp::Invert:
        if (!supportsRasterOps())
            return;
        setComposition(QPainter::RasterOp_NotDestination);
        break;
    }
    if (fill) {
        painter_->setPen(Qt::NoPen);
        painter_->setBrush(toQBrush(brush()));
        painter_->drawPath(area);
    }
    if (stroke) {
        const QPen pen = toQPen(this->pen());
        // Wide odd pens are centred on the pixel the coordinate names; even
        // ones straddle its top-left corner. One-pixel pens go through Qt's
        // line rasteriser, which already lands on the named pixel.
        const int width = static_cast<int>(pen.widthF());
        const double shift = (width > 1 && width % 2) ? 0.5 : 0.0;
        painter_->setPen(pen);
        painter_->setBrush(Qt::NoBrush);
        painter_->drawPath(outline.translated(shift, shift));
    }
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DrawSurface::renderFill(const QPainterPath& area, const Brush& brush, BltOp op)
{
    if (!prepare())
        return;
    QBrush b = toQBrush(brush);
    switch (op) {
    case BltOp::Copy: setComposition(QPainter::CompositionMode_SourceOver); break;
    case BltOp::Xor: setComposition(QPainter::RasterOp_SourceXorDestination); break;
    case BltOp::And: setComposition(QPainter::RasterOp_SourceAndDestination); break;
    case BltOp::Or: setComposition(QPainter::RasterOp_SourceOrDestination); break;
    case BltOp::InvertDest:
        if (!supportsRasterOps())
            return;
        setComposition(QPainter::RasterOp_NotDestination);
        b = QBrush(Qt::black);
        break;
    case BltOp::Blackness:
        setComposition(QPainter::CompositionMode_SourceOver);
        b = QBrush(Qt::black);
        break;
    case BltOp::Whiteness:
        setComposition(QPainter::CompositionMode_SourceOver);
        b = QBrush(Qt::white);
        break;
    }
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(b);
    painter_->drawPath(area);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DrawSurface::renderImage(const QRectF& dest, const QImage& image, const QRect& source,
                              BltOp op)
{
    if (!prepare())
        return;
    switch (op) {
    case BltOp::Xor: setComposition(QPainter::RasterOp_SourceXorDestination); break;
    case BltOp::And: setComposition(QPainter::RasterOp_SourceAndDestination); break;
    case BltOp::Or: setComposition(QPainter::RasterOp_SourceOrDestination); break;
    default: setComposition(QPainter::CompositionMode_SourceOver); break;
    }
    painter_->drawImage(dest, image, source);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DrawSurface::renderText(const TextRun& run)
{
    if (!prepare())
        return;
    painter_->save();
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setBackgroundMode(Qt::TransparentMode);
    if (run.opaqueRect)
        painter_->fillRect(*run.opaqueRect, toQColor(run.opaqueColor));
    if (run.clipRect)
        painter_->setClipRect(*run.clipRect, Qt::IntersectClip);
    painter_->setWorldTransform(run.frame() * base_);
    if (run.background && run.width > 0)
        painter_->fillRect(QRectF(run.left, run.baseline - run.ascent, run.width,
                                  run.ascent + run.descent),
                           toQColor(*run.background));
    painter_->setPen(toQColor(run.color));
    const QFont font = qtFont(run.fontSpec);
    painter_->setFont(font);
    for (std::size_t i = 0; i < run.chars.size(); ++i) {
        if (run.scaleX == 1.0) {
            painter_->drawText(QPointF(run.offsets[i], run.baseline), run.chars[i]);
        } else {
            painter_->save();
            painter_->translate(run.offsets[i], run.baseline);
            painter_->scale(run.scaleX, 1.0);
            painter_->drawText(QPointF(0, 0), run.chars[i]);
            painter_->restore();
        }
    }
    if ((run.underline || run.strikeOut) && run.width > 0) {
        const QFontMetricsF fm(font);
        const double thickness = std::max(1.0, std::round(fm.lineWidth()));
        if (run.underline)
            painter_->fillRect(QRectF(run.left, run.baseline + std::max(1.0, std::round(fm.underlinePos())),
                                      run.width, thickness),
                               toQColor(run.color));
        if (run.strikeOut)
            painter_->fillRect(QRectF(run.left, run.baseline - std::round(fm.strikeOutPos()),
                                      run.width, thickness),
                               toQColor(run.color));
    }
    painter_->restore();
}

QImage DrawSurface::grabDevice(const QRect& deviceRect) const
{
    if (!image_)
        return {};
    return image_->copy(base_.mapRect(deviceRect));
}

}  // namespace mirel
