#include "view/ruler_bar.h"

#include "surface/colorref.h"
#include "surface/system_colors.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace mirel {

namespace {
QColor Color(ColorRef c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
} // namespace

RulerBar::RulerBar(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent)
    , orientation_(orientation)
    , smallFont_("Arial")
    , largeFont_("Arial")
{
    smallFont_.setPointSize(7);
    largeFont_.setPointSize(10);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RulerBar::SetUnit(int unit)
{
    unit_ = std::clamp(unit, 0, 3);
    update();
}

int RulerBar::CharHeight() const
{
    const QFontMetrics fm(smallFont_, this);
    // The cell height less the internal leading: the em of the font.
    const int em = static_cast<int>(std::lround(smallFont_.pointSizeF() * logicalDpiY() / 72.0));
    const int leading = std::max(0, fm.height() - em);
    return std::max(1, fm.height() - leading);
}

int RulerBar::Thickness() const
{
    return 2 * CharHeight() + 2;
}

void RulerBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const bool horizontal = orientation_ == Qt::Horizontal;
    const int length = horizontal ? width() : height();
    const int thick = horizontal ? height() : width();
    p.fillRect(rect(), Color(SysColor::ButtonShadow));
    const RulerSpan span = source_ ? source_() : RulerSpan {};

    auto along = [&](int a, int b, int from, int to) { // a rectangle: a..b along, from..to across
        return horizontal ? QRect(a, from, b - a, to - from) : QRect(from, a, to - from, b - a);
    };
    if (span.valid) {
        const int pageLen = RulerPixels(span.pageUnits, span.dpi, span.zoom);
        const int start = std::max(span.pageStart, span.cornerSize);
        const int end = std::min(span.pageStart + pageLen, length);
        if (end > start)
            p.fillRect(along(start, end, 2, thick - 2), Color(SysColor::Window));

        // Ticks and numbers, clipped to the part beside the corner box.
        p.save();
        p.setClipRect(along(span.cornerSize, length, 0, thick));
        p.setPen(Color(SysColor::WindowText));
        p.setFont(smallFont_);
        const QFontMetrics fm(smallFont_, this);
        const int ch = CharHeight();
        const int minLabel = fm.horizontalAdvance(QStringLiteral("000")) + ch / 2;
        const std::vector<RulerTick> ticks
            = RulerTicks(unit_, span.pageUnits, span.dpi, span.zoom, ch * 3 / 2, horizontal ? minLabel : ch * 2);
        for (const RulerTick& t : ticks) {
            const int at = span.pageStart + t.pixel;
            if (at < span.cornerSize - 1 || at > length)
                continue;
            const int len = t.level == 0 ? thick / 2 : t.level == 1 ? thick / 3 : thick / 5;
            if (horizontal)
                p.drawLine(at, thick - 2 - len, at, thick - 2);
            else
                p.drawLine(thick - 2 - len, at, thick - 2, at);
            if (t.label > 0) {
                const QString text = QString::number(t.label);
                if (horizontal)
                    p.drawText(
                        QRect(at + 2, 1, fm.horizontalAdvance(text) + 2, ch + 1), Qt::AlignLeft | Qt::AlignTop, text);
                else
                    p.drawText(QRect(1, at + 1, thick - 2, ch + 1), Qt::AlignLeft | Qt::AlignTop, text);
            }
        }
        p.restore();
    }
    // The inset box at the corner where both rulers meet.
    if (span.cornerSize > 0) {
        const QRect box = along(0, span.cornerSize, 0, thick).adjusted(1, 1, -2, -2);
        p.fillRect(box, Color(SysColor::ButtonFace));
        p.setPen(Color(SysColor::ButtonShadow));
        p.drawLine(box.topLeft(), box.topRight());
        p.drawLine(box.topLeft(), box.bottomLeft());
        p.setPen(Color(SysColor::ButtonHighlight));
        p.drawLine(box.bottomLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomRight());
    }
    // A dark edge against the view.
    p.setPen(Color(SysColor::WindowText));
    if (horizontal)
        p.drawLine(0, thick - 1, length, thick - 1);
    else
        p.drawLine(thick - 1, 0, thick - 1, length);
}

void RulerBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onDoubleClick_)
        onDoubleClick_();
}

void RulerBar::contextMenuEvent(QContextMenuEvent* event)
{
    if (onContextMenu_)
        onContextMenu_(event->globalPos());
}

} // namespace mirel
