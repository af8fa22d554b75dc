#pragma once
// Font metrics for tests: every character below U+0080 is half an em wide,
// every other character one em, unless a test sets a character's width.
// Ascent is 80 % and descent 20 % of the em, no internal leading, average
// width half an em, maximum width one em. The face name, weight and italic
// do not matter.

#include "surface/font_metrics.h"

#include <unordered_map>

namespace mirel {

class FixedFontMetrics : public FontMetricsProvider {
public:
    // Width of one character in thousandths of the em.
    void setCharWidth(char32_t c, int permille) { overrides_[c] = permille; }
    void clearCharWidths() { overrides_.clear(); }

protected:
    FaceDesign faceDesign(const FontSpec& fontSpec) const override;
    double advanceInEm(const FontSpec& fontSpec, char32_t c) const override;

private:
    std::unordered_map<char32_t, int> overrides_;
};

}  // namespace mirel
