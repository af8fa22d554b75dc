#pragma once
// Document geometry: integers of 0.1 mm, x to the right, y downward.
#include <algorithm>
#include <cstdint>

namespace mirel {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Edges, not corners: right and bottom lie outside the area, as in the
// document format. Unlike QRect there is no "minus one".
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    Rect Normalized() const
    {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    Rect Offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Rect Inflated(int32_t d) const { return {left - d, top - d, right + d, bottom + d}; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool Intersects(const Rect& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace mirel
