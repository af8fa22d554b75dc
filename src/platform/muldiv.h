// MulDiv with the rules every unit conversion of the program relies on.
#pragma once

namespace mirel {

// a * b / c computed with a 64-bit intermediate and rounded half away from
// zero. Returns -1 when c is 0 and when the result does not fit in 32 bits.
int MulDiv(int a, int b, int c);

}  // namespace mirel
