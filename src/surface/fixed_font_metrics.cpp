#include "surface/fixed_font_metrics.h"

namespace mirel {

FontMetricsProvider::FaceDesign FixedFontMetrics::faceDesign(const FontSpec&) const
{
    return FaceDesign{0.8, 0.2, 0.5, 1.0};
}

double FixedFontMetrics::advanceInEm(const FontSpec&, char32_t c) const
{
    auto it = overrides_.find(c);
    if (it != overrides_.end())
        return it->second / 1000.0;
    return c < 0x80 ? 0.5 : 1.0;
}

}  // namespace mirel
