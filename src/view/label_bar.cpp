#include "view/label_bar.h"

#include "surface/system_colors.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

namespace mirel {

namespace {
QColor Color(ColorRef c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
} // namespace

LabelBar::LabelBar(QWidget* parent)
    : QWidget(parent)
    , scroll_(new QScrollBar(Qt::Horizontal, this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    scroll_->setSingleStep(1);
    QObject::connect(scroll_, &QScrollBar::valueChanged, this, [this](int) { update(); });
}

void LabelBar::Refresh()
{
    UpdateScrollRange();
    update();
}

QFont LabelBar::TabFont() const
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(6, height() * 8 / 10));
    return font;
}

std::vector<LabelTab> LabelBar::Tabs() const
{
    return source_ ? source_() : std::vector<LabelTab> {};
}

std::vector<int> LabelBar::TabWidths(const std::vector<LabelTab>& tabs) const
{
    const QFontMetrics fm(TabFont(), this);
    std::vector<int> widths;
    for (const LabelTab& t : tabs)
        widths.push_back(fm.horizontalAdvance(t.text) + 2 * Slant() + 8);
    return widths;
}

int LabelBar::TabsLeft() const
{
    return 2 * height() + kFirstTabOffset - scroll_->value() * kScrollStep;
}

QRect LabelBar::GripRect() const
{
    return QRect(width() - kGripWidth, 0, kGripWidth, height());
}

std::vector<QPolygon> LabelBar::TabShapes() const
{
    const std::vector<LabelTab> tabs = Tabs();
    const std::vector<int> widths = TabWidths(tabs);
    std::vector<QPolygon> shapes;
    const int slant = Slant();
    const int bottom = height() - 2;
    int x = TabsLeft();
    for (int w : widths) {
        // Wider along the top edge, which meets the view.
        QPolygon poly;
        poly << QPoint(x, 0) << QPoint(x + w, 0) << QPoint(x + w - slant, bottom) << QPoint(x + slant, bottom);
        shapes.push_back(poly);
        x += w - slant;
    }
    return shapes;
}

int LabelBar::TabAt(QPoint p) const
{
    if (p.x() < 2 * height() || GripRect().contains(p))
        return -1;
    const std::vector<QPolygon> shapes = TabShapes();
    const std::vector<LabelTab> tabs = Tabs();
    // The active tab lies on top of its neighbours.
    for (size_t i = 0; i < shapes.size() && i < tabs.size(); ++i)
        if (tabs[i].active && shapes[i].containsPoint(p, Qt::OddEvenFill))
            return static_cast<int>(i);
    for (size_t i = 0; i < shapes.size(); ++i)
        if (shapes[i].containsPoint(p, Qt::OddEvenFill))
            return static_cast<int>(i);
    return -1;
}

void LabelBar::UpdateScrollRange()
{
    const std::vector<int> widths = TabWidths(Tabs());
    int total = kFirstTabOffset;
    for (int w : widths)
        total += w - Slant();
    total += Slant();
    const int room = std::max(0, width() - 2 * height() - kGripWidth);
    scroll_->setRange(0, std::max(0, (total - room + kScrollStep - 1) / kScrollStep));
}

void LabelBar::resizeEvent(QResizeEvent*)
{
    scroll_->setGeometry(0, 0, 2 * height(), height());
    UpdateScrollRange();
}

void LabelBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Color(SysColor::ButtonFace));
    const std::vector<LabelTab> tabs = Tabs();
    const std::vector<QPolygon> shapes = TabShapes();
    p.setClipRect(QRect(2 * height(), 0, width() - 2 * height() - kGripWidth, height()));
    p.setFont(TabFont());
    auto drawTab = [&](size_t i) {
        const QPolygon& poly = shapes[i];
        const bool active = tabs[i].active;
        p.setPen(Qt::black);
        p.setBrush(active ? QColor(Qt::white) : Color(SysColor::ButtonFace));
        p.drawPolygon(poly);
        if (active) { // the top edge in white joins the tab to the view
            p.setPen(Qt::white);
            p.drawLine(poly.point(0) + QPoint(1, 0), poly.point(1) - QPoint(1, 0));
        }
        p.setPen(Qt::black);
        p.drawText(poly.boundingRect(), Qt::AlignCenter, tabs[i].text);
    };
    for (size_t i = 0; i < shapes.size(); ++i)
        if (!tabs[i].active)
            drawTab(i);
    for (size_t i = 0; i < shapes.size(); ++i)
        if (tabs[i].active)
            drawTab(i);
    p.setClipping(false);
    // The sizing grip: 0xC0C0C0 with a white and a 0x808080 edge.
    const QRect grip = GripRect();
    p.fillRect(grip, Color(0xC0C0C0));
    p.setPen(Qt::white);
    p.drawLine(grip.topLeft(), grip.bottomLeft());
    p.setPen(Color(0x808080));
    p.drawLine(grip.topRight(), grip.bottomRight());
}

void LabelBar::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && GripRect().contains(pos)) {
        sizing_ = true;
        lastSizeX_ = pos.x();
        return;
    }
    const int index = TabAt(pos);
    if (event->button() == Qt::LeftButton) {
        if (index >= 0 && onActivate_)
            onActivate_(index);
    } else if (event->button() == Qt::RightButton) {
        if (index >= 0 && onActivate_)
            onActivate_(index);
        if (onContextMenu_)
            onContextMenu_(index, event->globalPosition().toPoint());
    }
}

void LabelBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    setCursor(sizing_ || GripRect().contains(pos) ? Qt::SizeHorCursor : Qt::ArrowCursor);
    if (!sizing_ || !(event->buttons() & Qt::LeftButton))
        return;
    if (std::abs(pos.x() - lastSizeX_) < 6)
        return;
    lastSizeX_ = pos.x();
    if (onResize_)
        onResize_(pos.x());
}

void LabelBar::mouseReleaseEvent(QMouseEvent*)
{
    sizing_ = false;
}

} // namespace mirel
