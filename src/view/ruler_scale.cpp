#include "view/ruler_scale.h"

#include <cmath>
#include <vector>

namespace mirel {

int RulerPixels(double units, int dpi, int zoom)
{
    return static_cast<int>(std::lround(units * dpi * zoom / 25400.0));
}

namespace {

struct Scale {
    double major; // document units between numbered whole units
    int labelFactor; // number shown at the k-th whole unit: k x labelFactor
    std::vector<int> divisions; // candidate subdivisions of one whole unit, finest first
};

Scale ScaleFor(int unit)
{
    switch (unit) {
    case kRulerCentimetres:
        return { 100.0, 1, { 10, 2, 1 } };
    case kRulerInches:
        return { 254.0, 1, { 8, 4, 2, 1 } };
    case kRulerPoints:
        return { 254.0 * 50 / 72, 50, { 10, 5, 2, 1 } }; // numbered every 50 points
    default:
        return { 100.0, 10, { 10, 2, 1 } }; // millimetres: 10, 20, ...
    }
}

} // namespace

std::vector<RulerTick> RulerTicks(int unit, int lengthUnits, int dpi, int zoom, int minTickPixels, int minLabelPixels)
{
    std::vector<RulerTick> ticks;
    if (lengthUnits <= 0 || dpi <= 0 || zoom <= 0)
        return ticks;
    const Scale s = ScaleFor(unit);
    const double majorPx = s.major * dpi * zoom / 25400.0;
    if (majorPx <= 0)
        return ticks;

    // The finest subdivision whose ticks keep their distance.
    int divisions = 1;
    for (int d : s.divisions) {
        if (majorPx / d >= minTickPixels) {
            divisions = d;
            break;
        }
    }
    // Numbers every `labelStep` whole units: doubled while too dense.
    int labelStep = 1;
    while (majorPx * labelStep < minLabelPixels && labelStep < (1 << 20))
        labelStep *= 2;
    // With numbers spaced out, whole units between them become plain ticks;
    // when even whole units are too dense for ticks, only numbered ones stay.
    const bool wholeTicks = majorPx >= minTickPixels;

    const int wholeCount = static_cast<int>(lengthUnits / s.major);
    for (int k = 0; k <= wholeCount; ++k) {
        const bool numbered = k % labelStep == 0;
        if (numbered || wholeTicks) {
            ticks.push_back(
                { RulerPixels(k * s.major, dpi, zoom), numbered ? 0 : 1, numbered ? k * s.labelFactor : -1 });
        }
        if (divisions <= 1)
            continue;
        for (int i = 1; i < divisions; ++i) {
            const double at = k * s.major + s.major * i / divisions;
            if (at > lengthUnits)
                break;
            const int level = (divisions % 2 == 0 && i == divisions / 2) ? 1 : 2;
            ticks.push_back({ RulerPixels(at, dpi, zoom), level, -1 });
        }
    }
    return ticks;
}

} // namespace mirel
