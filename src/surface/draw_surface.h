#pragma once
// The drawing surface over a QPainter: a bitmap (QImage), a printer or PDF
// writer (any QPaintDevice), or a painter a widget already opened in its
// paintEvent.
//
// Figures are drawn without anti-aliasing so that pixels land where the
// coordinates say; text is anti-aliased. Raster operations (XOR pens,
// inverting) are exact on bitmaps and on widgets painted by the raster
// engine; other devices (PDF, printers) cannot combine with what is already
// drawn and draw XOR/NOT-XOR pens as plain copies and skip inversions.

#include "surface/surface.h"

#include <QPainter>

#include <memory>

class QPdfWriter;

namespace mirel {

struct DeviceOptions {
    std::optional<int> dpiX;    // default: the device's logical resolution
    std::optional<int> dpiY;
    std::optional<QSize> size;  // default: the device's size in pixels
    bool isPrinter = false;
    QPoint physicalOffset;      // of the printable area on the sheet
    const FontMetricsProvider* metrics = nullptr;  // default: QtFontMetrics::shared()

    // A PDF page behaves as a printer whose printable area starts at the
    // page margins.
    static DeviceOptions forPdfWriter(const QPdfWriter& writer);
};

class DrawSurface : public Surface {
public:
    // Draws into `image`, which must outlive the surface.
    explicit DrawSurface(QImage& image, int dpiX = 96, int dpiY = 96,
                         const FontMetricsProvider* metrics = nullptr);
    // Opens a painter on `device` (a QPdfWriter, a printer ...).
    explicit DrawSurface(QPaintDevice& device, const DeviceOptions& options = {});
    // Draws through a painter that is already active; its state is saved
    // and given back when the surface goes away.
    explicit DrawSurface(QPainter& painter, const DeviceOptions& options = {});
    ~DrawSurface() override;

    // A white (or `fill`) 32-bit bitmap of its own.
    static std::unique_ptr<DrawSurface> makeBitmap(QSize size, int dpiX = 96, int dpiY = 96,
                                                   ColorRef fill = 0xFFFFFF,
                                                   const FontMetricsProvider* metrics = nullptr);
    // A bitmap with this surface's resolution and metrics.
    std::unique_ptr<DrawSurface> makeCompatibleBitmap(QSize size) const;

    // The bitmap drawn into, or null when the target is not a bitmap.
    const QImage* image() const { return image_; }
    QPainter& painter() { return *painter_; }
    bool supportsRasterOps() const;
    // Ends the painter this surface opened (further drawing is ignored).
    void end();

protected:
    void renderPath(const QPainterPath& area, const QPainterPath& outline, bool fill,
                    bool stroke) override;
    void renderFill(const QPainterPath& area, const Brush& brush, BltOp op) override;
    void renderText(const TextRun& run) override;
    void renderImage(const QRectF& dest, const QImage& image, const QRect& source,
                     BltOp op) override;
    QImage grabDevice(const QRect& deviceRect) const override;

private:
    DrawSurface(const DeviceInfo& info, const FontMetricsProvider* metrics);
    void attach(QPainter* painter);
    bool prepare();
    void setComposition(QPainter::CompositionMode mode);

    std::unique_ptr<QImage> ownedImage_;
    std::unique_ptr<QPainter> ownedPainter_;
    QPainter* painter_ = nullptr;
    QImage* image_ = nullptr;
    QTransform base_;
    bool borrowed_ = false;
    quint64 appliedSerial_ = 0;
};

// Qt's pen and brush for a surface pen/brush (the pen without its pixel
// alignment offset).
QPen toQPen(const Pen& pen);
QBrush toQBrush(const Brush& brush);

}  // namespace mirel
