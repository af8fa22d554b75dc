#include "surface/recording_surface.h"

#include "surface/fixed_font_metrics.h"

namespace mirel {
namespace {

const FontMetricsProvider* fixedMetrics()
{
    static const FixedFontMetrics metrics;
    return &metrics;
}

std::string advancesText(std::span<const int> advances)
{
    if (advances.empty())
        return {};
    std::string out = " [";
    for (std::size_t i = 0; i < advances.size(); ++i) {
        if (i)
            out += ' ';
        out += rec::num(advances[i]);
    }
    return out + ']';
}

const char* combineName(Region::Combine op)
{
    switch (op) {
    case Region::Combine::And: return "and";
    case Region::Combine::Or: return "or";
    case Region::Combine::Xor: return "xor";
    case Region::Combine::Diff: return "diff";
    case Region::Combine::Copy: return "copy";
    }
    return "?";
}

}  // namespace

using namespace rec;

RecordingSurface::RecordingSurface(const DeviceInfo& device, const FontMetricsProvider* metrics)
    : Surface(device, metrics ? metrics : fixedMetrics())
{
}

DeviceInfo RecordingSurface::defaultDevice()
{
    DeviceInfo d;
    d.size = QSize(800, 600);
    return d;
}

std::string RecordingSurface::text() const
{
    std::string out;
    for (const std::string& line : calls_)
        out += line + '\n';
    return out;
}

void RecordingSurface::setPrinting(bool printing)
{
    record(std::string("setPrinting ") + (printing ? "1" : "0"));
    Surface::setPrinting(printing);
}

QPoint RecordingSurface::setViewportOrigin(QPoint origin)
{
    record("setViewportOrigin " + pt(origin));
    return Surface::setViewportOrigin(origin);
}

QPoint RecordingSurface::offsetViewportOrigin(int dx, int dy)
{
    record("offsetViewportOrigin " + num(dx) + ' ' + num(dy));
    return Surface::offsetViewportOrigin(dx, dy);
}

int RecordingSurface::saveState()
{
    record("saveState");
    return Surface::saveState();
}

bool RecordingSurface::restoreState(int level)
{
    record("restoreState " + num(level));
    return Surface::restoreState(level);
}

void RecordingSurface::selectClipRegion(const std::optional<Region>& region, Region::Combine op)
{
    record(std::string("selectClipRegion ") + (region ? rec::region(*region) : "none") + ' ' +
           combineName(op));
    Surface::selectClipRegion(region, op);
}

void RecordingSurface::intersectClipRect(const Box& b)
{
    record("intersectClipRect " + box(b));
    Surface::intersectClipRect(b);
}

void RecordingSurface::excludeClipRect(const Box& b)
{
    record("excludeClipRect " + box(b));
    Surface::excludeClipRect(b);
}

Pen RecordingSurface::setPen(const Pen& p)
{
    record("pen " + rec::pen(p));
    return Surface::setPen(p);
}

Brush RecordingSurface::setBrush(const Brush& b)
{
    record("brush " + rec::brush(b));
    return Surface::setBrush(b);
}

ColorRef RecordingSurface::setTextColor(ColorRef c)
{
    record("textColor " + color(c));
    return Surface::setTextColor(c);
}

ColorRef RecordingSurface::setBkColor(ColorRef c)
{
    record("bkColor " + color(c));
    return Surface::setBkColor(c);
}

BkMode RecordingSurface::setBkMode(BkMode mode)
{
    record(std::string("bkMode ") + (mode == BkMode::Opaque ? "opaque" : "transparent"));
    return Surface::setBkMode(mode);
}

RasterOp RecordingSurface::setRasterOp(RasterOp op)
{
    const char* names[] = {"copy", "xor", "notxor", "invert"};
    record(std::string("rasterOp ") + names[static_cast<int>(op)]);
    return Surface::setRasterOp(op);
}

PolyFillMode RecordingSurface::setPolyFillMode(PolyFillMode mode)
{
    record(std::string("polyFillMode ") +
           (mode == PolyFillMode::Winding ? "winding" : "alternate"));
    return Surface::setPolyFillMode(mode);
}

StretchMode RecordingSurface::setStretchMode(StretchMode mode)
{
    record(std::string("stretchMode ") + (mode == StretchMode::Smooth ? "smooth" : "nearest"));
    return Surface::setStretchMode(mode);
}

FontSpec RecordingSurface::setFont(const FontSpec& f)
{
    record("font " + num(f.height) + ' ' + num(f.width) + ' ' + num(f.escapement) + ' ' +
           num(f.orientation) + ' ' + num(f.weight) + ' ' + num(f.italic) + ' ' +
           num(f.underline) + ' ' + num(f.strikeOut) + ' ' + num(f.charSet) + ' ' +
           quoted(f.faceName));
    return Surface::setFont(f);
}

unsigned RecordingSurface::setTextAlign(unsigned align)
{
    record("textAlign " + num(align));
    return Surface::setTextAlign(align);
}

QPoint RecordingSurface::moveTo(QPoint p)
{
    record("moveTo " + pt(p));
    return Surface::moveTo(p);
}

void RecordingSurface::lineTo(QPoint p)
{
    record("lineTo " + pt(p));
    Surface::lineTo(p);
}

void RecordingSurface::polyline(std::span<const QPoint> pts)
{
    record("polyline " + points(pts));
    Surface::polyline(pts);
}

void RecordingSurface::polygon(std::span<const QPoint> pts)
{
    record("polygon " + points(pts));
    Surface::polygon(pts);
}

void RecordingSurface::rectangle(const Box& b)
{
    record("rectangle " + box(b));
    Surface::rectangle(b);
}

void RecordingSurface::roundRect(const Box& b, int ew, int eh)
{
    record("roundRect " + box(b) + ' ' + num(ew) + ' ' + num(eh));
    Surface::roundRect(b, ew, eh);
}

void RecordingSurface::ellipse(const Box& b)
{
    record("ellipse " + box(b));
    Surface::ellipse(b);
}

void RecordingSurface::arc(const Box& b, QPoint start, QPoint end)
{
    record("arc " + box(b) + ' ' + pt(start) + ' ' + pt(end));
    Surface::arc(b, start, end);
}

void RecordingSurface::pie(const Box& b, QPoint start, QPoint end)
{
    record("pie " + box(b) + ' ' + pt(start) + ' ' + pt(end));
    Surface::pie(b, start, end);
}

void RecordingSurface::chord(const Box& b, QPoint start, QPoint end)
{
    record("chord " + box(b) + ' ' + pt(start) + ' ' + pt(end));
    Surface::chord(b, start, end);
}

void RecordingSurface::fillRect(const Box& b, const Brush& br)
{
    record("fillRect " + box(b) + ' ' + rec::brush(br));
    Surface::fillRect(b, br);
}

void RecordingSurface::patBlt(const Box& b, BltOp op)
{
    record("patBlt " + box(b) + ' ' + bltOp(op));
    Surface::patBlt(b, op);
}

void RecordingSurface::fillRegion(const Region& r, const Brush& br)
{
    record("fillRegion " + region(r) + ' ' + rec::brush(br));
    Surface::fillRegion(r, br);
}

void RecordingSurface::frameRegion(const Region& r, const Brush& br, int w, int h)
{
    record("frameRegion " + region(r) + ' ' + rec::brush(br) + ' ' + num(w) + ' ' + num(h));
    Surface::frameRegion(r, br, w, h);
}

void RecordingSurface::paintRegion(const Region& r)
{
    record("paintRegion " + region(r));
    Surface::paintRegion(r);
}

void RecordingSurface::invertRegion(const Region& r)
{
    record("invertRegion " + region(r));
    Surface::invertRegion(r);
}

void RecordingSurface::beginPath()
{
    record("beginPath");
    Surface::beginPath();
}

void RecordingSurface::endPath()
{
    record("endPath");
    Surface::endPath();
}

void RecordingSurface::abortPath()
{
    record("abortPath");
    Surface::abortPath();
}

void RecordingSurface::closeFigure()
{
    record("closeFigure");
    Surface::closeFigure();
}

void RecordingSurface::strokePath()
{
    record("strokePath");
    Surface::strokePath();
}

void RecordingSurface::fillPath()
{
    record("fillPath");
    Surface::fillPath();
}

void RecordingSurface::strokeAndFillPath()
{
    record("strokeAndFillPath");
    Surface::strokeAndFillPath();
}

Region RecordingSurface::pathToRegion()
{
    record("pathToRegion");
    return Surface::pathToRegion();
}

void RecordingSurface::textOut(QPoint p, QStringView t, std::span<const int> advances)
{
    record("textOut " + pt(p) + ' ' + quoted(t) + advancesText(advances));
    Surface::textOut(p, t, advances);
}

void RecordingSurface::extTextOut(QPoint p, unsigned options, const Box& rect, QStringView t,
                                  std::span<const int> advances)
{
    record("extTextOut " + pt(p) + ' ' + num(options) + ' ' + box(rect) + ' ' + quoted(t) +
           advancesText(advances));
    Surface::extTextOut(p, options, rect, t, advances);
}

void RecordingSurface::drawImage(const Box& dest, const QImage& image,
                                 const std::optional<Box>& source)
{
    record("drawImage " + box(dest) + ' ' + num(image.width()) + 'x' + num(image.height()) +
           (source ? ' ' + box(*source) : std::string()));
    Surface::drawImage(dest, image, source);
}

bool RecordingSurface::bitBlt(const Box& dest, const Surface& source, QPoint sourceTopLeft,
                              BltOp op)
{
    record("bitBlt " + box(dest) + ' ' + pt(sourceTopLeft) + ' ' + bltOp(op));
    return Surface::bitBlt(dest, source, sourceTopLeft, op);
}

}  // namespace mirel
