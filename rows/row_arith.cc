// The row's guards and its primitive form.
#include <algorithm>

#include "rows/row.h"

namespace crninv {

namespace {

constexpr uint32_t kLowestMagnitude = 0x80000000u;  // that of -2147483648

}  // namespace

void Row::check_scale(int32_t factor) const {
  if (factor == 0) return;
  // Comparing magnitudes against a bound avoids forming the product; the
  // product -2147483648 is refused too, as its magnitude does not fit.
  uint32_t bound = static_cast<uint32_t>(INT32_MAX) / magnitude(factor);
  if (largest <= bound) return;
  largest = exact_largest();
  if (largest > bound) width_exceeded(kMultiplyOverflow);
}

uint32_t Row::common_factor() const {
  uint32_t g = 0;
  if (!dense.allocated()) {
    for (uint32_t i = 0; i < count && g != 1; ++i) g = magnitude_gcd(g, magnitude(sparse.value[i]));
    return g;
  }
  dense.for_each_block([&](uint32_t start) {
    for (uint32_t k = start; k < start + kBlock; ++k) {
      if (dense.data[k] != 0) g = magnitude_gcd(g, magnitude(dense.data[k]));
    }
    return g != 1;
  });
  return g;
}

int32_t Row::first_value() const {
  uint32_t column = next_nonzero(0);
  return column == kNone ? 0 : get(column);
}

void Row::normalize() {
  if (count == 0) return;
  // Stops at the first entry of magnitude 1, which is nearly always the
  // first entry of all.
  uint32_t g = common_factor();
  bool negative = first_value() < 0;
  if (g == 1) {
    if (!negative) return;
    // Negating -2147483648 has no 32-bit result: the run ends instead.
    if (largest >= kLowestMagnitude && exact_largest() >= kLowestMagnitude) {
      width_exceeded(kMultiplyOverflow);
    }
    flipped = !flipped;
    return;
  }
  int32_t divisor;
  if (!negative) {
    divisor = static_cast<int32_t>(g);
  } else if (g == kLowestMagnitude) {
    divisor = INT32_MIN;  // every entry is 0 or -2147483648
  } else {
    divisor = -static_cast<int32_t>(g);
  }
  unflip();
  largest = 0;
  auto divide = [&](int32_t& stored) {
    stored /= divisor;
    largest = std::max(largest, magnitude(stored));
  };
  if (!dense.allocated()) {
    for (int32_t& v : sparse.value) divide(v);
    return;
  }
  dense.for_each_block([&](uint32_t start) {
    for (uint32_t k = start; k < start + kBlock; ++k) {
      if (dense.data[k] != 0) divide(dense.data[k]);
    }
    return true;
  });
}

}  // namespace crninv
