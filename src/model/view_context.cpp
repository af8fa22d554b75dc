#include "model/view_context.h"

#include "platform/muldiv.h"

#include <algorithm>
#include <cstdint>

namespace mirel {

int ViewContext::ToPixels(int units) const
{
    // zoom x units can pass 32 bits on a damaged page size: keep it in 64 bits
    // and round half away from zero as MulDiv does.
    const int64_t num = int64_t(ZoomPercent()) * units * DpiY();
    const int64_t q = (num >= 0 ? num + 12700 : num - 12700) / 25400;
    return static_cast<int>(std::clamp<int64_t>(q, INT32_MIN, INT32_MAX));
}

int ViewContext::ToUnits(int pixels) const
{
    return MulDiv(pixels, 25400, DpiY() * ZoomPercent());
}

Rect ViewContext::ToPixels(const Rect& r) const
{
    return {ToPixels(r.left), ToPixels(r.top), ToPixels(r.right), ToPixels(r.bottom)};
}

}  // namespace mirel
