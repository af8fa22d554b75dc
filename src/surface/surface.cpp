#include "surface/surface.h"

#include "surface/qt_font_metrics.h"

namespace mirel {

Surface::Surface(const DeviceInfo& device, const FontMetricsProvider* metrics)
    : device_(device), metrics_(metrics ? metrics : &QtFontMetrics::shared())
{
}

Surface::~Surface() = default;

void Surface::setPrinting(bool printing)
{
    printing_ = printing;
}

QPoint Surface::setViewportOrigin(QPoint origin)
{
    const QPoint old = state_.origin;
    state_.origin = origin;
    changed();
    return old;
}

QPoint Surface::offsetViewportOrigin(int dx, int dy)
{
    const QPoint old = state_.origin;
    state_.origin += QPoint(dx, dy);
    changed();
    return old;
}

int Surface::saveState()
{
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

bool Surface::restoreState(int level)
{
    const long count = static_cast<long>(saved_.size());
    const long index = level < 0 ? count + level : static_cast<long>(level) - 1;
    if (level == 0 || index < 0 || index >= count)
        return false;
    state_ = saved_[static_cast<std::size_t>(index)];
    saved_.resize(static_cast<std::size_t>(index));
    changed();
    return true;
}

// --- Clip ---

std::optional<QRegion> Surface::effectiveDeviceClip() const
{
    if (!state_.clip && !baseClip_)
        return std::nullopt;
    QRegion r(deviceRect());
    if (baseClip_)
        r &= *baseClip_;
    if (state_.clip)
        r &= *state_.clip;
    return r;
}

Box Surface::clipBox() const
{
    const std::optional<QRegion> clip = effectiveDeviceClip();
    const QRect bounds = clip ? clip->boundingRect() : deviceRect();
    return Box::fromQRect(bounds.translated(-state_.origin));
}

std::optional<Region> Surface::clipRegion() const
{
    if (!state_.clip)
        return std::nullopt;
    return Region(state_.clip->translated(-state_.origin));
}

void Surface::setDeviceClip(const std::optional<QRegion>& clip)
{
    state_.clip = clip;
    changed();
}

void Surface::selectClipRegion(const std::optional<Region>& region, Region::Combine op)
{
    if (!region) {
        if (op == Region::Combine::Copy)
            setDeviceClip(std::nullopt);
        return;
    }
    const QRegion dev = region->qregion().translated(state_.origin);
    const QRegion current = state_.clip ? *state_.clip : QRegion(deviceRect());
    switch (op) {
    case Region::Combine::Copy: setDeviceClip(dev); break;
    case Region::Combine::And: setDeviceClip(current.intersected(dev)); break;
    case Region::Combine::Or: setDeviceClip(current.united(dev)); break;
    case Region::Combine::Xor: setDeviceClip(current.xored(dev)); break;
    case Region::Combine::Diff: setDeviceClip(current.subtracted(dev)); break;
    }
}

void Surface::intersectClipRect(const Box& box)
{
    const QRegion dev(box.normalized().toQRect().translated(state_.origin));
    setDeviceClip((state_.clip ? *state_.clip : QRegion(deviceRect())).intersected(dev));
}

void Surface::excludeClipRect(const Box& box)
{
    const QRegion dev(box.normalized().toQRect().translated(state_.origin));
    setDeviceClip((state_.clip ? *state_.clip : QRegion(deviceRect())).subtracted(dev));
}

bool Surface::rectVisible(const Box& box) const
{
    const Box n = box.normalized();
    if (n.isEmpty())
        return false;
    const QRect dev = n.toQRect().translated(state_.origin);
    const std::optional<QRegion> clip = effectiveDeviceClip();
    return clip ? clip->intersects(dev) : deviceRect().intersects(dev);
}

bool Surface::pointVisible(QPoint p) const
{
    const QPoint dev = p + state_.origin;
    const std::optional<QRegion> clip = effectiveDeviceClip();
    return clip ? clip->contains(dev) : deviceRect().contains(dev);
}

// --- Objects and modes ---

Pen Surface::setPen(const Pen& pen)
{
    Pen old = state_.pen;
    state_.pen = pen;
    changed();
    return old;
}

Brush Surface::setBrush(const Brush& brush)
{
    Brush old = state_.brush;
    state_.brush = brush;
    changed();
    return old;
}

ColorRef Surface::setTextColor(ColorRef c)
{
    const ColorRef old = state_.textColor;
    state_.textColor = c;
    return old;
}

ColorRef Surface::setBkColor(ColorRef c)
{
    const ColorRef old = state_.bkColor;
    state_.bkColor = c;
    changed();
    return old;
}

BkMode Surface::setBkMode(BkMode mode)
{
    const BkMode old = state_.bkMode;
    state_.bkMode = mode;
    changed();
    return old;
}

RasterOp Surface::setRasterOp(RasterOp op)
{
    const RasterOp old = state_.rop;
    state_.rop = op;
    changed();
    return old;
}

PolyFillMode Surface::setPolyFillMode(PolyFillMode mode)
{
    const PolyFillMode old = state_.fillMode;
    state_.fillMode = mode;
    return old;
}

StretchMode Surface::setStretchMode(StretchMode mode)
{
    const StretchMode old = state_.stretch;
    state_.stretch = mode;
    changed();
    return old;
}

FontSpec Surface::setFont(const FontSpec& font)
{
    FontSpec old = state_.font;
    state_.font = font;
    return old;
}

unsigned Surface::setTextAlign(unsigned align)
{
    const unsigned old = state_.textAlign;
    state_.textAlign = align;
    return old;
}

QImage Surface::grabDevice(const QRect&) const
{
    return {};
}

}  // namespace mirel
