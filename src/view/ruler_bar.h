#pragma once
// A ruler bar along the top or the left of the view: grey outside the
// current page, white over it, an inset box at the origin corner, and the
// scale's ticks and numbers.
#include "view/ruler_scale.h"

#include <QFont>
#include <QWidget>
#include <functional>

namespace mirel {

// Where the current page stands along the ruler, as the frame works it out.
struct RulerSpan {
    bool valid = false;
    int pageStart = 0; // ruler pixel of the page edge
    int pageUnits = 0; // page width (or height) in document units
    int dpi = 96;
    int zoom = 100;
    int cornerSize = 0; // an inset box over the first cornerSize pixels (0: none)
};

class RulerBar : public QWidget {
public:
    RulerBar(Qt::Orientation orientation, QWidget* parent);

    Qt::Orientation Orientation() const { return orientation_; }
    void SetSpanSource(std::function<RulerSpan()> source) { source_ = std::move(source); }
    void SetUnit(int unit);
    int Unit() const { return unit_; }
    void SetOnDoubleClick(std::function<void()> f) { onDoubleClick_ = std::move(f); }
    void SetOnContextMenu(std::function<void(QPoint globalPos)> f) { onContextMenu_ = std::move(f); }

    // 2 x (cell height - internal leading) + 2 of the small font.
    int Thickness() const;
    const QFont& SmallFont() const { return smallFont_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int CharHeight() const;

    Qt::Orientation orientation_;
    QFont smallFont_; // tick numbers: Arial 7 points
    QFont largeFont_; // Arial 10 points
    int unit_ = kRulerMillimetres;
    std::function<RulerSpan()> source_;
    std::function<void()> onDoubleClick_;
    std::function<void(QPoint)> onContextMenu_;
};

} // namespace mirel
