#pragma once
// Reading pixels back from bitmap surfaces in tests.

#include "surface/colorref.h"
#include "surface/draw_surface.h"

#include <QImage>

#include <functional>
#include <string>

namespace mirel::test {

inline ColorRef pixelAt(const DrawSurface& s, int x, int y)
{
    return fromQColor(QColor::fromRgb(s.image()->pixel(x, y)));
}

// Number of pixels of colour `c` in [l, r) x [t, b).
inline int countColor(const DrawSurface& s, ColorRef c, int l, int t, int r, int b)
{
    int n = 0;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            n += pixelAt(s, x, y) == c;
    return n;
}

// First pixel of [0, w) x [0, h) where `expected` and the image disagree,
// as "x,y got 0x...", or empty when they all agree.
inline std::string firstMismatch(const DrawSurface& s,
                                 const std::function<ColorRef(int, int)>& expected)
{
    const QImage& img = *s.image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const ColorRef got = pixelAt(s, x, y);
            if (got != expected(x, y))
                return std::to_string(x) + "," + std::to_string(y) + " got " +
                       std::to_string(got) + " expected " + std::to_string(expected(x, y));
        }
    return {};
}

}  // namespace mirel::test
