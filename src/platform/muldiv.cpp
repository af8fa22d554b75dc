#include "platform/muldiv.h"

#include <cstdint>
#include <limits>

namespace mirel {

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  // |a * b| < 2^62 and |c| <= 2^31, so every step below fits in 64 bits.
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::uint64_t num = product < 0 ? 0 - static_cast<std::uint64_t>(product)
                                        : static_cast<std::uint64_t>(product);
  const std::uint64_t den = c < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(c))
                                  : static_cast<std::uint64_t>(c);
  std::uint64_t quotient = num / den;
  if ((num % den) * 2 >= den) ++quotient;  // half away from zero
  if (negative) {
    if (quotient > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) + 1) return -1;
    return static_cast<int>(-static_cast<std::int64_t>(quotient));
  }
  if (quotient > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) return -1;
  return static_cast<int>(quotient);
}

}  // namespace mirel
