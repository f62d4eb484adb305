#include "algebra/row.h"

#include "algebra/arith.h"

void Row::resize(uint32_t n) {
  delete[] data;
  data = nullptr;
  size = 0;
  data = new int32_t[n]();
  size = n;
}

void Row::add(uint32_t column, int32_t value) {
  if (column < size) checked_add(data[column], value);
}

void Row::swap(Row& other) {
  if (data == other.data) return;
  int32_t* other_data = other.data;
  uint32_t other_size = other.size;
  other.data = data;
  other.size = size;
  data = other_data;
  size = other_size;
}

void Row::check_scale(int32_t factor) const {
  if (factor == 0) return;
  // Comparing magnitudes against a bound avoids forming the product; the
  // product -2147483648 is refused too, as its magnitude does not fit.
  uint32_t bound = static_cast<uint32_t>(INT32_MAX) / magnitude(factor);
  for (uint32_t i = 0; i < size; ++i) {
    if (magnitude(data[i]) > bound) fatal_overflow(kMultiplyOverflow);
  }
}

void Row::normalize() {
  uint32_t g = 0;
  bool negative = false;
  for (uint32_t i = 0; i < size; ++i) {
    if (data[i] == 0) continue;
    if (g == 0) {
      g = magnitude(data[i]);
      negative = data[i] < 0;
    } else {
      g = gcd(g, magnitude(data[i]));
    }
    if (g == 1) break;  // no entry can change the divisor any more
  }
  if (g == 0 || (g == 1 && !negative)) return;

  int32_t divisor;
  if (!negative) {
    divisor = static_cast<int32_t>(g);
  } else if (g == 0x80000000u) {
    divisor = INT32_MIN;  // every entry is 0 or -2147483648
  } else {
    divisor = -static_cast<int32_t>(g);
  }
  if (divisor == -1) {
    // Negating -2147483648 has no 32-bit result.
    for (uint32_t i = 0; i < size; ++i) {
      if (data[i] == INT32_MIN) fatal_overflow(kMultiplyOverflow);
    }
  }
  for (uint32_t i = 0; i < size; ++i) data[i] /= divisor;
}

void Row::eliminate(uint32_t column, const Row& pivot) {
  if (column >= size) return;
  int32_t t = data[column];
  int32_t p = pivot.get(column);
  if (t == 0 || p == 0) return;

  uint32_t l = lcm(t, p);
  // c * t + b * p = 0: c takes the sign opposite to p, b the sign of t.
  int32_t c = (p > 0 ? -1 : 1) * static_cast<int32_t>(l / magnitude(t));
  int32_t b = sign(t) * static_cast<int32_t>(l / magnitude(p));
  // Every product is checked before any sum is formed, this row first.
  check_scale(c);
  pivot.check_scale(b);
  for (uint32_t i = 0; i < size; ++i) {
    data[i] *= c;
    checked_add(data[i], b * pivot.get(i));
  }
  normalize();
}
