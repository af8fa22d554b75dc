#pragma once
// The small top-most window that shows "第%d页" beside the vertical scroll
// bar while its thumb is dragged.
#include <QLabel>

namespace mirel {

class PageTip : public QLabel {
public:
    explicit PageTip(QWidget* owner);
    // Shows the page number with its right edge `rightEdge` (global x) and
    // its middle at global y.
    void ShowPage(int pageNumber, QPoint globalAt);
    // The number the tip shows for a thumb position: (pos - min) x rows /
    // range x columns + 1, at most the page count.
    static int PageForPosition(int pos, int min, int range, int rows, int columns, int pageCount);
};

} // namespace mirel
