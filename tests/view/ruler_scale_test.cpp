// The ruler scale: tick spacing, numbers and subdivisions for each unit.
#include "view/ruler_scale.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace mirel {
namespace {

std::vector<RulerTick> Numbered(const std::vector<RulerTick>& ticks)
{
    std::vector<RulerTick> out;
    std::copy_if(ticks.begin(), ticks.end(), std::back_inserter(out), [](const RulerTick& t) { return t.label >= 0; });
    return out;
}

TEST(RulerScaleTest, MillimetresAtFullSize)
{
    // 100 units (1 cm) = 37.8 pixels at 96 dpi: millimetre ticks are 3.8
    // pixels apart, too close for a 10-pixel font; half centimetres fit.
    const auto ticks = RulerTicks(kRulerMillimetres, 2100, 96, 100, 15, 20);
    const auto numbered = Numbered(ticks);
    ASSERT_EQ(numbered.size(), 22u); // 0, 10, ..., 210 mm
    EXPECT_EQ(numbered[1].label, 10);
    EXPECT_EQ(numbered[1].pixel, RulerPixels(100, 96, 100));
    EXPECT_EQ(numbered[21].label, 210);
    EXPECT_EQ(numbered[21].pixel, RulerPixels(2100, 96, 100));
    // Between two numbers exactly one half-centimetre tick.
    const auto half = std::count_if(ticks.begin(), ticks.end(), [](const RulerTick& t) { return t.level == 1; });
    EXPECT_EQ(half, 21);
    EXPECT_EQ(ticks.size(), 22u + 21u);
}

TEST(RulerScaleTest, CentimetresAndPixelsFollowTheZoom)
{
    const auto ticks = RulerTicks(kRulerCentimetres, 2900, 96, 200, 15, 20);
    const auto numbered = Numbered(ticks);
    ASSERT_GE(numbered.size(), 30u);
    EXPECT_EQ(numbered[3].label, 3);
    EXPECT_EQ(numbered[3].pixel, RulerPixels(300, 96, 200));
    // At 200 % a centimetre is 75.6 pixels: millimetre ticks (7.6 pixels) are
    // still too close for 15, so the subdivision is 2.
    EXPECT_EQ(ticks.size() - numbered.size(), numbered.size() - 1);
    // At 400 % millimetres show (15.1 pixels apart).
    const auto fine = RulerTicks(kRulerCentimetres, 1000, 96, 400, 15, 20);
    EXPECT_EQ(fine.size(), 101u);
}

TEST(RulerScaleTest, InchesSubdivideByEighthsWhenThereIsRoom)
{
    // One inch at 200 % and 96 dpi: 192 pixels; eighths are 24 apart.
    const auto ticks = RulerTicks(kRulerInches, 254 * 3, 96, 200, 15, 20);
    EXPECT_EQ(ticks.size(), 3u * 8 + 1);
    EXPECT_EQ(Numbered(ticks).back().label, 3);
    // At 50 % (48 pixels an inch) only halves fit.
    const auto coarse = RulerTicks(kRulerInches, 254 * 3, 96, 50, 15, 20);
    EXPECT_EQ(coarse.size(), 3u * 2 + 1);
}

TEST(RulerScaleTest, PointsAreNumberedEveryFiftyPoints)
{
    const auto numbered = Numbered(RulerTicks(kRulerPoints, 2100, 96, 100, 15, 20));
    ASSERT_GE(numbered.size(), 3u);
    EXPECT_EQ(numbered[1].label, 50);
    EXPECT_EQ(numbered[2].label, 100);
    EXPECT_EQ(numbered[1].pixel, RulerPixels(254.0 * 50 / 72, 96, 100));
}

TEST(RulerScaleTest, NumbersSpreadOutWhenDense)
{
    // At 10 % a centimetre is 3.8 pixels: numbers every 8 cm (30 pixels).
    const auto numbered = Numbered(RulerTicks(kRulerMillimetres, 2100, 96, 10, 15, 25));
    ASSERT_GE(numbered.size(), 2u);
    EXPECT_EQ(numbered[1].label, 80);
    for (size_t i = 1; i < numbered.size(); ++i)
        EXPECT_GE(numbered[i].pixel - numbered[i - 1].pixel, 25);
    EXPECT_TRUE(RulerTicks(kRulerMillimetres, 0, 96, 100, 15, 20).empty());
}

} // namespace
} // namespace mirel
