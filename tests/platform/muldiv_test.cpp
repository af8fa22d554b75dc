#include "platform/muldiv.h"

#include <gtest/gtest.h>

#include <climits>

namespace mirel {
namespace {

struct MulDivCase {
  int a, b, c, expected;
};

class MulDivTest : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, MatchesWindowsRules) {
  const MulDivCase& k = GetParam();
  EXPECT_EQ(MulDiv(k.a, k.b, k.c), k.expected) << k.a << " * " << k.b << " / " << k.c;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MulDivTest,
    ::testing::Values(
        // exact results
        MulDivCase{6, 4, 3, 8}, MulDivCase{0, 5, 7, 0}, MulDivCase{-6, 4, 3, -8},
        // halves round away from zero, whatever the signs
        MulDivCase{10, 3, 4, 8}, MulDivCase{-10, 3, 4, -8}, MulDivCase{10, -3, 4, -8},
        MulDivCase{10, 3, -4, -8}, MulDivCase{-10, -3, 4, 8}, MulDivCase{-10, 3, -4, 8},
        MulDivCase{1, 1, 2, 1}, MulDivCase{-1, 1, 2, -1}, MulDivCase{3, 1, 2, 2},
        MulDivCase{-3, 1, 2, -2},
        // below and above a half
        MulDivCase{4, 1, 3, 1}, MulDivCase{5, 1, 3, 2}, MulDivCase{-4, 1, 3, -1},
        MulDivCase{-5, 1, 3, -2}, MulDivCase{1, 1, 3, 0}, MulDivCase{-1, 1, 3, 0},
        // zero divisor
        MulDivCase{5, 5, 0, -1}, MulDivCase{0, 0, 0, -1}, MulDivCase{-5, 5, 0, -1},
        // the product needs 64 bits but the result fits
        MulDivCase{100000, 100000, 100000, 100000}, MulDivCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        MulDivCase{INT_MIN, INT_MIN, INT_MIN, INT_MIN}, MulDivCase{INT_MIN, 1, 1, INT_MIN},
        MulDivCase{INT_MAX, 2, 2, INT_MAX},
        // the result overflows 32 bits
        MulDivCase{INT_MAX, 2, 1, -1}, MulDivCase{65536, 65536, 1, -1},
        MulDivCase{INT_MIN, 1, -1, -1}, MulDivCase{INT_MIN, 2, 1, -1},
        MulDivCase{INT_MAX, INT_MAX, 1, -1},
        // a unit conversion: 210.0 mm at zoom 100 % on a 96 dpi screen
        MulDivCase{100 * 2100, 96, 25400, 794}));

}  // namespace
}  // namespace mirel
