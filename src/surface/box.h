#pragma once
// A rectangle by its four edges, as documents and drawing calls give it.
// Filled areas cover [left, right) x [top, bottom); outlines run along the
// pixels just inside the right and bottom edges.

#include <QRect>

namespace mirel {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr Box normalized() const
    {
        return Box{left < right ? left : right, top < bottom ? top : bottom,
                   left < right ? right : left, top < bottom ? bottom : top};
    }
    constexpr Box translated(int dx, int dy) const
    {
        return Box{left + dx, top + dy, right + dx, bottom + dy};
    }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    static Box fromQRect(const QRect& r)
    {
        return Box{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    friend constexpr bool operator==(const Box&, const Box&) = default;
};

}  // namespace mirel
