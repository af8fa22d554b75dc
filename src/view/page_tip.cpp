#include "view/page_tip.h"

#include "platform/messages.h"

#include <algorithm>

namespace mirel {

PageTip::PageTip(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 200));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setFrameShape(QFrame::Box);
    setMargin(2);
    hide();
}

void PageTip::ShowPage(int pageNumber, QPoint globalAt)
{
    setText(QString::fromStdString(FormatMessage(41524, pageNumber)));
    adjustSize();
    move(globalAt.x() - width(), globalAt.y() - height() / 2);
    show();
    raise();
}

int PageTip::PageForPosition(int pos, int min, int range, int rows, int columns, int pageCount)
{
    if (range <= 0)
        return 1;
    const long long n = static_cast<long long>(pos - min) * rows / range * columns + 1;
    return static_cast<int>(std::clamp<long long>(n, 1, std::max(1, pageCount)));
}

} // namespace mirel
