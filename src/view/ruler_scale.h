#pragma once
// The marks of a ruler scale: where ticks stand along a page edge, how long
// they are and which carry numbers, for the ruler's unit at a zoom.
#include <vector>

namespace mirel {

enum RulerUnit : int { kRulerMillimetres = 0, kRulerCentimetres = 1, kRulerInches = 2, kRulerPoints = 3 };

struct RulerTick {
    int pixel = 0; // from the page edge
    int level = 0; // 0 numbered (long), 1 half step (middle), 2 subdivision (short)
    int label = -1; // the number shown, -1 for none
    friend bool operator==(const RulerTick&, const RulerTick&) = default;
};

// Ruler pixels: MulDiv(units, dpi x zoom, 25400).
int RulerPixels(double units, int dpi, int zoom);

// Ticks from 0 to `lengthUnits` (document units). Subdivisions are chosen
// so that ticks stand at least `minTickPixels` apart; numbers at least
// `minLabelPixels` apart (the number step doubles until they do).
std::vector<RulerTick> RulerTicks(int unit, int lengthUnits, int dpi, int zoom, int minTickPixels, int minLabelPixels);

} // namespace mirel
