#include "surface/font_metrics.h"

#include "platform/gbk.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace mirel {

int roundHalfAway(double v)
{
    // Saturates instead of overflowing for absurd sizes.
    const double r = v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
    if (!(r > static_cast<double>(INT_MIN)))
        return INT_MIN;
    if (r >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(r);
}

double FontMetricsProvider::emSize(const FontSpec& fontSpec) const
{
    if (fontSpec.height < 0)
        return -static_cast<double>(fontSpec.height);
    if (fontSpec.height == 0)
        return FontSpec::kDefaultEm;
    const FaceDesign d = faceDesign(fontSpec);
    const double cell = d.ascent + d.descent;
    return cell > 0 ? fontSpec.height / cell : fontSpec.height;
}

double FontMetricsProvider::horizontalScale(const FontSpec& fontSpec) const
{
    if (fontSpec.width <= 0)
        return 1.0;
    const double natural = emSize(fontSpec) * faceDesign(fontSpec).averageWidth;
    return natural > 0 ? fontSpec.width / natural : 1.0;
}

FontMetricsValues FontMetricsProvider::metrics(const FontSpec& fontSpec) const
{
    const FaceDesign d = faceDesign(fontSpec);
    const double em = emSize(fontSpec);
    const double sx = horizontalScale(fontSpec);
    FontMetricsValues m;
    m.ascent = roundHalfAway(em * d.ascent);
    m.descent = roundHalfAway(em * d.descent);
    m.height = roundHalfAway(static_cast<double>(m.ascent) + m.descent);
    m.internalLeading = std::max(0, roundHalfAway(static_cast<double>(m.height) - roundHalfAway(em)));
    m.averageWidth = roundHalfAway(em * d.averageWidth * sx);
    m.maxWidth = roundHalfAway(em * d.maxWidth * sx);
    return m;
}

int FontMetricsProvider::charWidth(const FontSpec& fontSpec, char32_t c) const
{
    if (c < 0x20)
        return 0;
    return roundHalfAway(emSize(fontSpec) * horizontalScale(fontSpec) * advanceInEm(fontSpec, c));
}

int FontMetricsProvider::singleByteWidth(const FontSpec& fontSpec, unsigned char byte) const
{
    if (byte < 0x20 || byte > 0x7F)
        return 0;
    return charWidth(fontSpec, byte);
}

int FontMetricsProvider::gbkCharWidth(const FontSpec& fontSpec, unsigned char lead,
                                      unsigned char trail) const
{
    const char32_t c = decoder_ ? decoder_(lead, trail) : GbkPairToCodePoint(lead, trail);
    return charWidth(fontSpec, c);
}

std::vector<int> FontMetricsProvider::charWidths(const FontSpec& fontSpec, QStringView text) const
{
    std::vector<int> out;
    out.reserve(static_cast<std::size_t>(text.size()));
    const double scale = emSize(fontSpec) * horizontalScale(fontSpec);
    for (const uint u : text.toUcs4()) {
        const char32_t c = u;
        out.push_back(c < 0x20 ? 0 : roundHalfAway(scale * advanceInEm(fontSpec, c)));
    }
    return out;
}

int FontMetricsProvider::textWidth(const FontSpec& fontSpec, QStringView text) const
{
    long long sum = 0;
    for (int w : charWidths(fontSpec, text))
        sum += w;
    return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

}  // namespace mirel
