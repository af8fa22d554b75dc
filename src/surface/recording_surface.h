#pragma once
// A surface that draws nothing and writes down every drawing call, one text
// line per call, so tests can compare what an object draws without pixels.
// State changes (origin, clip, paths, current position) take effect as on a
// real surface, so the queries answer as they would there. Text is measured
// with FixedFontMetrics unless another provider is given.
//
// Line format: the operation name, then its arguments separated by spaces:
// points "x,y", boxes "l,t,r,b", colours "0xBBGGRR", texts in double quotes
// (UTF-8, with \" \\ \n escaped), e.g.
//   pen 0 2 0x0000FF
//   rectangle 10,20,110,70
//   textOut 5,5 "公文" [16 16]

#include "surface/surface.h"

#include <string>
#include <vector>

namespace mirel {

class RecordingSurface : public Surface {
public:
    explicit RecordingSurface(const DeviceInfo& device = defaultDevice(),
                              const FontMetricsProvider* metrics = nullptr);

    static DeviceInfo defaultDevice();  // 96 dpi, 800 x 600, a screen

    const std::vector<std::string>& calls() const { return calls_; }
    std::string text() const;  // all lines, each ended by '\n'
    void clear() { calls_.clear(); }

    // Device
    void setPrinting(bool printing) override;
    QPoint setViewportOrigin(QPoint origin) override;
    QPoint offsetViewportOrigin(int dx, int dy) override;
    int saveState() override;
    bool restoreState(int level = -1) override;
    // Clip
    void selectClipRegion(const std::optional<Region>& region,
                          Region::Combine op = Region::Combine::Copy) override;
    void intersectClipRect(const Box& box) override;
    void excludeClipRect(const Box& box) override;
    // Objects and modes
    Pen setPen(const Pen& pen) override;
    Brush setBrush(const Brush& brush) override;
    ColorRef setTextColor(ColorRef c) override;
    ColorRef setBkColor(ColorRef c) override;
    BkMode setBkMode(BkMode mode) override;
    RasterOp setRasterOp(RasterOp op) override;
    PolyFillMode setPolyFillMode(PolyFillMode mode) override;
    StretchMode setStretchMode(StretchMode mode) override;
    FontSpec setFont(const FontSpec& font) override;
    unsigned setTextAlign(unsigned align) override;
    // Figures
    QPoint moveTo(QPoint p) override;
    void lineTo(QPoint p) override;
    void polyline(std::span<const QPoint> points) override;
    void polygon(std::span<const QPoint> points) override;
    void rectangle(const Box& box) override;
    void roundRect(const Box& box, int ellipseWidth, int ellipseHeight) override;
    void ellipse(const Box& box) override;
    void arc(const Box& box, QPoint start, QPoint end) override;
    void pie(const Box& box, QPoint start, QPoint end) override;
    void chord(const Box& box, QPoint start, QPoint end) override;
    void fillRect(const Box& box, const Brush& brush) override;
    void patBlt(const Box& box, BltOp op = BltOp::Copy) override;
    // Regions
    void fillRegion(const Region& region, const Brush& brush) override;
    void frameRegion(const Region& region, const Brush& brush, int width, int height) override;
    void paintRegion(const Region& region) override;
    void invertRegion(const Region& region) override;
    // Paths
    void beginPath() override;
    void endPath() override;
    void abortPath() override;
    void closeFigure() override;
    void strokePath() override;
    void fillPath() override;
    void strokeAndFillPath() override;
    Region pathToRegion() override;
    // Text
    void textOut(QPoint p, QStringView text, std::span<const int> advances = {}) override;
    void extTextOut(QPoint p, unsigned options, const Box& rect, QStringView text,
                    std::span<const int> advances = {}) override;
    // Pictures
    void drawImage(const Box& dest, const QImage& image,
                   const std::optional<Box>& source = std::nullopt) override;
    bool bitBlt(const Box& dest, const Surface& source, QPoint sourceTopLeft,
                BltOp op = BltOp::Copy) override;

protected:
    void renderPath(const QPainterPath&, const QPainterPath&, bool, bool) override {}
    void renderFill(const QPainterPath&, const Brush&, BltOp) override {}
    void renderText(const TextRun&) override {}
    void renderImage(const QRectF&, const QImage&, const QRect&, BltOp) override {}

private:
    void record(std::string line) { calls_.push_back(std::move(line)); }
    std::vector<std::string> calls_;
};

// The text forms the recording uses, for building expected lines in tests.
namespace rec {
std::string num(long long v);
std::string pt(QPoint p);
std::string box(const Box& b);
std::string color(ColorRef c);
std::string quoted(QStringView s);
std::string pen(const Pen& p);      // "0 2 0x0000FF"
std::string brush(const Brush& b);  // "solid 0x00FF00", "hatch 2 0x0000FF", "pattern 8x8", "hollow"
std::string region(const Region& r);
std::string points(std::span<const QPoint> pts);
std::string bltOp(BltOp op);
}  // namespace rec

}  // namespace mirel
