#pragma once
// The drawing surface every object, the view, the rulers, previews and
// printing draw through. One logical unit is one device pixel; the
// viewport origin says where logical (0, 0) lies on the device.
//
// Surface keeps the drawing state (pen, brush, font, colours, modes,
// viewport origin, clip, current position, the open path) and turns every
// figure into device-space geometry; derived classes render it (DrawSurface
// over QPainter) or only record the calls (RecordingSurface).
//
// Coordinates: figures, clip rectangles and regions are logical. A clip is
// fixed on the device when it is set, so moving the origin later does not
// move it. Filled areas cover [left, right) x [top, bottom); an outline of
// width w along coordinate x covers the pixels x - w/2 .. x - w/2 + w - 1
// (integer halves), so a 1-pixel rectangle outline covers exactly the
// pixels just inside the box.

#include "surface/box.h"
#include "surface/brush.h"
#include "surface/colorref.h"
#include "surface/font_metrics.h"
#include "surface/font_description.h"
#include "surface/path_point.h"
#include "surface/pen.h"
#include "surface/region.h"
#include "surface/surface_types.h"

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <QStringView>
#include <QTransform>

#include <optional>
#include <span>
#include <vector>

namespace mirel {

// Options of extTextOut, combined with |.
namespace TextOutOption {
constexpr unsigned Opaque = 2;   // fill the given rectangle with the background colour
constexpr unsigned Clipped = 4;  // clip the text to the given rectangle
}  // namespace TextOutOption

class Surface {
public:
    explicit Surface(const DeviceInfo& device, const FontMetricsProvider* metrics = nullptr);
    virtual ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // --- Device ---
    const DeviceInfo& deviceInfo() const { return device_; }
    virtual void setPrinting(bool printing);
    bool isPrinting() const { return printing_; }
    virtual QPoint setViewportOrigin(QPoint origin);  // returns the previous origin
    virtual QPoint offsetViewportOrigin(int dx, int dy);
    QPoint viewportOrigin() const { return state_.origin; }
    // Saves the whole drawing state; returns the new depth (1 for the first).
    virtual int saveState();
    // Restores the state saved at depth `level`; a negative level counts back
    // from the last save. False when there is no such level.
    virtual bool restoreState(int level = -1);

    // --- Clip ---
    Box clipBox() const;  // logical bounds of what can be drawn
    std::optional<Region> clipRegion() const;  // logical; none when no clip is set
    // No region removes the clip (Copy) or leaves it (other operations).
    virtual void selectClipRegion(const std::optional<Region>& region,
                                  Region::Combine op = Region::Combine::Copy);
    virtual void intersectClipRect(const Box& box);
    virtual void excludeClipRect(const Box& box);
    bool rectVisible(const Box& box) const;
    bool pointVisible(QPoint p) const;

    // --- Drawing objects and modes (each returns the previous value) ---
    virtual Pen setPen(const Pen& pen);
    virtual Brush setBrush(const Brush& brush);
    virtual ColorRef setTextColor(ColorRef c);
    virtual ColorRef setBkColor(ColorRef c);
    virtual BkMode setBkMode(BkMode mode);
    virtual RasterOp setRasterOp(RasterOp op);
    virtual PolyFillMode setPolyFillMode(PolyFillMode mode);
    virtual StretchMode setStretchMode(StretchMode mode);
    virtual FontSpec setFont(const FontSpec& font);  // height in device pixels
    virtual unsigned setTextAlign(unsigned align);
    const Pen& pen() const { return state_.pen; }
    const Brush& brush() const { return state_.brush; }
    ColorRef textColor() const { return state_.textColor; }
    ColorRef bkColor() const { return state_.bkColor; }
    BkMode bkMode() const { return state_.bkMode; }
    RasterOp rasterOp() const { return state_.rop; }
    PolyFillMode polyFillMode() const { return state_.fillMode; }
    StretchMode stretchMode() const { return state_.stretch; }
    const FontSpec& font() const { return state_.font; }
    unsigned textAlign() const { return state_.textAlign; }

    // --- Figures (outlined with the pen, filled with the brush) ---
    virtual QPoint moveTo(QPoint p);  // returns the previous position
    QPoint currentPosition() const { return state_.position; }
    virtual void lineTo(QPoint p);
    virtual void polyline(std::span<const QPoint> points);
    virtual void polygon(std::span<const QPoint> points);
    virtual void rectangle(const Box& box);
    // ellipseWidth/Height: size of the ellipse that rounds the corners.
    virtual void roundRect(const Box& box, int ellipseWidth, int ellipseHeight);
    virtual void ellipse(const Box& box);
    // Arcs run counter-clockwise on the ellipse of `box`, from where the ray
    // from the centre through `start` meets it to where the ray through
    // `end` does; equal rays give the whole ellipse.
    virtual void arc(const Box& box, QPoint start, QPoint end);
    virtual void pie(const Box& box, QPoint start, QPoint end);
    virtual void chord(const Box& box, QPoint start, QPoint end);
    // Fills with the given brush; no outline, the raster op is not used.
    virtual void fillRect(const Box& box, const Brush& brush);
    // Fills with the current brush combined by `op` (Copy, Xor, InvertDest,
    // Blackness, Whiteness ...).
    virtual void patBlt(const Box& box, BltOp op = BltOp::Copy);

    // --- Regions (logical coordinates) ---
    virtual void fillRegion(const Region& region, const Brush& brush);
    // Paints a border `width` x `height` pixels inside the region's edge.
    virtual void frameRegion(const Region& region, const Brush& brush, int width, int height);
    virtual void paintRegion(const Region& region);  // with the current brush
    virtual void invertRegion(const Region& region);

    // --- Paths: figures between beginPath and endPath build the path ---
    virtual void beginPath();
    virtual void endPath();
    virtual void abortPath();
    virtual void closeFigure();
    virtual void strokePath();
    virtual void fillPath();
    virtual void strokeAndFillPath();
    bool pathOpen() const { return pathState_ == PathState::Open; }
    bool hasPath() const { return pathState_ != PathState::None; }
    // Points of the closed path in logical coordinates; curves are flattened
    // to lines when `flatten` is set.
    std::vector<PathPoint> pathPoints(bool flatten = false) const;
    // The area of the closed path; the path is used up as by fillPath.
    virtual Region pathToRegion();

    // --- Text (in the current font; device pixels) ---
    FontMetricsValues textMetrics() const;
    QSize textExtent(QStringView text) const;  // unrotated width x cell height
    std::vector<int> charWidths(QStringView text) const;
    // Draws at `p` with the text colour, the alignment flags and, in opaque
    // background mode, the background colour behind the text. `advances`
    // gives one advance per character (pixels); without it the font's own.
    virtual void textOut(QPoint p, QStringView text, std::span<const int> advances = {});
    // As textOut; `rect` is filled with the background colour first (Opaque)
    // and/or clips the text (Clipped).
    virtual void extTextOut(QPoint p, unsigned options, const Box& rect, QStringView text,
                            std::span<const int> advances = {});
    const FontMetricsProvider& metricsProvider() const { return *metrics_; }

    // --- Pictures ---
    // Stretches `image` (or its part `source`) into `dest`.
    virtual void drawImage(const Box& dest, const QImage& image,
                           const std::optional<Box>& source = std::nullopt);
    // The device's pixels under a logical box as a 24-bit image; a null
    // image where the device cannot be read back (printers, PDF, widgets).
    virtual QImage readImage(const Box& box) const;
    // Copies pixels from `source` (at its logical `sourceTopLeft`) into `dest`.
    // False when the source cannot be read back.
    virtual bool bitBlt(const Box& dest, const Surface& source, QPoint sourceTopLeft,
                        BltOp op = BltOp::Copy);

    // The Qt font drawing uses for a font description whose height is in device pixels.
    QFont qtFont(const FontSpec& fontSpec) const;

protected:
    // What text output hands to the renderer: characters with their offsets
    // along the baseline, in a frame at `origin` turned by `angle` degrees
    // counter-clockwise (device coordinates).
    struct TextRun {
        QPointF origin;
        double angle = 0;
        FontSpec fontSpec;               // the font, height in device pixels
        double scaleX = 1.0;         // horizontal stretch of the glyphs
        std::vector<QString> chars;  // one entry per character
        std::vector<double> offsets; // x of each character in the frame
        double baseline = 0;         // y of the baseline in the frame
        double left = 0;             // text box in the frame
        double width = 0;
        double ascent = 0;
        double descent = 0;
        bool underline = false;
        bool strikeOut = false;
        ColorRef color = 0;
        std::optional<ColorRef> background;   // fill behind the text box
        std::optional<QRect> opaqueRect;      // device rect filled first
        ColorRef opaqueColor = 0;
        std::optional<QRect> clipRect;        // device rect clipping the text
        QTransform frame() const;
    };

    // Renderers work in device coordinates with the current state.
    // `area` is filled with the brush, `outline` stroked with the pen.
    virtual void renderPath(const QPainterPath& area, const QPainterPath& outline, bool fill,
                            bool stroke) = 0;
    virtual void renderFill(const QPainterPath& area, const Brush& brush, BltOp op) = 0;
    virtual void renderText(const TextRun& run) = 0;
    virtual void renderImage(const QRectF& dest, const QImage& image, const QRect& source,
                             BltOp op) = 0;
    virtual QImage grabDevice(const QRect& deviceRect) const;

    // The clip in device coordinates: the set clip region intersected with
    // the device (and with any clip the device came with); nullopt = none.
    std::optional<QRegion> effectiveDeviceClip() const;
    // A clip the device came with (a widget's paint region), device coords.
    void setBaseClip(const std::optional<QRegion>& clip) { baseClip_ = clip; }
    void setDeviceInfo(const DeviceInfo& info) { device_ = info; }
    // Increases whenever something a renderer caches changes (clip, modes).
    quint64 stateSerial() const { return serial_; }
    QRect deviceRect() const { return QRect(QPoint(0, 0), device_.size); }

    QPointF toDevice(QPoint p) const { return QPointF(p + state_.origin); }

private:
    struct State {
        Pen pen;
        Brush brush = Brush::solid(0xFFFFFF);
        ColorRef textColor = 0;
        ColorRef bkColor = 0xFFFFFF;
        BkMode bkMode = BkMode::Opaque;
        RasterOp rop = RasterOp::CopyPen;
        PolyFillMode fillMode = PolyFillMode::Alternate;
        StretchMode stretch = StretchMode::Nearest;
        FontSpec font;
        unsigned textAlign = TextAlign::Left | TextAlign::Top;
        QPoint origin;
        QPoint position;                 // current position, logical
        std::optional<QRegion> clip;     // device coordinates
    };
    enum class PathState { None, Open, Closed };

    void changed() { ++serial_; }
    QPainterPath polyPath(std::span<const QPoint> points, bool close) const;
    QRectF outlineRect(const Box& box) const;
    void figure(const QPainterPath& area, const QPainterPath& outline, bool fill);
    QPainterPath arcPath(const Box& box, QPoint start, QPoint end, int kind);
    void addToPath(const QPainterPath& p, bool connect);
    TextRun layoutText(QPoint p, QStringView text, std::span<const int> advances) const;
    void emitText(TextRun run);
    void setDeviceClip(const std::optional<QRegion>& clip);

    DeviceInfo device_;
    const FontMetricsProvider* metrics_;
    bool printing_ = false;
    State state_;
    std::vector<State> saved_;
    std::optional<QRegion> baseClip_;
    PathState pathState_ = PathState::None;
    QPainterPath path_;  // device coordinates
    quint64 serial_ = 1;
};

}  // namespace mirel
