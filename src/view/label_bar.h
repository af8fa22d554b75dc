#pragma once
// The work-form label bar: one tab per work form, left to right, the
// active one white and joined to the view; a small scroll bar at the left
// and a sizing grip at the right end.
#include <QFont>
#include <QPolygon>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QScrollBar;

namespace mirel {

struct LabelTab {
    QString text; // the name, "*" in front when the work form has a password
    bool active = false;
};

class LabelBar : public QWidget {
public:
    explicit LabelBar(QWidget* parent);

    void SetTabsSource(std::function<std::vector<LabelTab>()> source) { source_ = std::move(source); }
    void SetOnActivate(std::function<void(int index)> f) { onActivate_ = std::move(f); }
    void SetOnContextMenu(std::function<void(int index, QPoint globalPos)> f) { onContextMenu_ = std::move(f); }
    // The grip was dragged: the frame decides whether the new width applies.
    void SetOnResize(std::function<void(int width)> f) { onResize_ = std::move(f); }
    void Refresh();

    // Tab outlines in bar coordinates (after scrolling), one per tab.
    std::vector<QPolygon> TabShapes() const;
    int TabAt(QPoint p) const; // -1 outside every tab
    QRect GripRect() const;
    QScrollBar* ScrollBar() const { return scroll_; }
    QFont TabFont() const;

    static constexpr int kFirstTabOffset = 6;
    static constexpr int kScrollStep = 16;
    static constexpr int kGripWidth = 5;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::vector<LabelTab> Tabs() const;
    std::vector<int> TabWidths(const std::vector<LabelTab>& tabs) const;
    int Slant() const { return std::max(2, height() / 3); }
    int TabsLeft() const;
    void UpdateScrollRange();

    QScrollBar* scroll_;
    std::function<std::vector<LabelTab>()> source_;
    std::function<void(int)> onActivate_;
    std::function<void(int, QPoint)> onContextMenu_;
    std::function<void(int)> onResize_;
    bool sizing_ = false;
    int lastSizeX_ = 0;
};

} // namespace mirel
