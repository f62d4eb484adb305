#include "algebra/row.h"

#include <type_traits>
#include <utility>

#include "algebra/arith.h"
#include "algebra/lanes.h"
#include "algebra/row_storage.h"

namespace {

uint32_t round_up_to_block(uint32_t n) {
  return static_cast<uint32_t>((uint64_t{n} + Row::kBlock - 1) / Row::kBlock * Row::kBlock);
}

// x * c, where kSign is c when c is 1 or -1 and 0 otherwise. The products
// have been checked to fit.
template <int kSign>
Lanes scale(Lanes x, int32_t c) {
  if (kSign == 1) return x;
  if (kSign == -1) return wrapping_negate(x);
  return wrapping_multiply(x, c);
}

// out = x * c + y * b over one block (kSign as for scale), wrapping; out
// may be x. ORs the magnitudes of the sums into magnitudes and returns the
// lanes whose sum overflowed in their sign bit: a sum overflows exactly when
// both terms differ in sign from it.
template <int kSign>
Lanes combine_lanes(const int32_t* x, const int32_t* y, int32_t c, int32_t b, int32_t* out,
                    UnsignedLanes& magnitudes) {
  Lanes overflow{};
  for (uint32_t k = 0; k < Row::kBlock; k += 4) {
    Lanes u = scale<kSign>(load_lanes(x + k), c);
    Lanes v = wrapping_multiply(load_lanes(y + k), b);
    Lanes sum = wrapping_add(u, v);
    overflow |= (u ^ sum) & (v ^ sum);
    magnitudes |= lane_magnitudes(sum);
    store_lanes(out + k, sum);
  }
  return overflow;
}

template <typename T>
T* allocate_zeroed(size_t n) {
  return static_cast<T*>(obtain_zeroed(n * sizeof(T)));
}

template <typename T>
void release(T* p, size_t n) {
  give_back(p, n * sizeof(T));
}

// The sign of the first nonzero of the 16 entries at x, or 0 when all are 0.
int32_t first_sign(const int32_t* x) {
  for (uint32_t k = 0; k < Row::kBlock; ++k) {
    if (x[k] != 0) return x[k] < 0 ? -1 : 1;
  }
  return 0;
}

}  // namespace

Row::~Row() {
  release(data, round_up_to_block(size));
  release(blocks, bitmap_words());
}

void Row::resize(uint32_t n) {
  release(data, round_up_to_block(size));
  release(blocks, bitmap_words());
  data = nullptr;
  blocks = nullptr;
  size = 0;
  first = 0;
  largest = 0;
  // The padding after the last entry stays zero, so that every pass can
  // work on whole blocks.
  data = allocate_zeroed<int32_t>(round_up_to_block(n));
  size = n;
  blocks = allocate_zeroed<uint64_t>(bitmap_words());
  first = n;
}

void Row::add(uint32_t column, int32_t value) {
  if (column >= size) return;
  checked_add(data[column], value);
  if (data[column] != 0) {
    set_block_bit(column / kBlock);
    if (column < first) first = column;
    if (magnitude(data[column]) > largest) largest = magnitude(data[column]);
  }
}

void Row::swap(Row& other) {
  if (data == other.data) return;
  std::swap(data, other.data);
  std::swap(blocks, other.blocks);
  std::swap(size, other.size);
  std::swap(first, other.first);
  std::swap(largest, other.largest);
}

uint32_t Row::next_nonzero(uint32_t column) const {
  for (; column < size; ++column) {
    if (!block_bit(column / kBlock)) {
      column = column / kBlock * kBlock + kBlock - 1;  // to the block's end
    } else if (data[column] != 0) {
      return column;
    }
  }
  return kNone;
}

template <typename Visit>
void Row::for_each_block(const Row& other, Visit visit) const {
  uint32_t words = bitmap_words();
  uint32_t other_words = other.bitmap_words();
  for (uint32_t w = 0; w < words; ++w) {
    uint64_t bits = blocks[w] | (w < other_words ? other.blocks[w] : 0);
    while (bits != 0) {
      uint32_t start = (w * 64 + static_cast<uint32_t>(__builtin_ctzll(bits))) * kBlock;
      if (start >= size) return;
      if constexpr (std::is_same_v<decltype(visit(start)), bool>) {
        if (!visit(start)) return;
      } else {
        visit(start);
      }
      bits &= bits - 1;
    }
  }
}

void Row::check_scale(int32_t factor) const {
  if (factor == 0) return;
  // Comparing magnitudes against a bound avoids forming the product; the
  // product -2147483648 is refused too, as its magnitude does not fit.
  uint32_t bound = static_cast<uint32_t>(INT32_MAX) / magnitude(factor);
  if (largest <= bound) return;
  for_each_block(*this, [&](uint32_t start) {
    uint32_t block_largest = 0;
    for (uint32_t k = 0; k < kBlock; ++k) {
      uint32_t m = magnitude(data[start + k]);
      block_largest = m > block_largest ? m : block_largest;
    }
    if (block_largest > bound) fatal_overflow(kMultiplyOverflow);
  });
}

void Row::normalize() {
  uint32_t g = 0;
  bool negative = false;
  uint32_t first_nonzero = size;
  // Stops as soon as the divisor is 1: no entry can change it any more.
  // Most entries are 0 and most others 1 or -1: four entries are skipped
  // at a time, and 1 needs no division.
  for_each_block(*this, [&](uint32_t start) {
    for (uint32_t k = start; k < start + kBlock; k += 4) {
      if (or_lanes((UnsignedLanes)load_lanes(data + k)) == 0) continue;
      for (uint32_t i = k; i < k + 4; ++i) {
        if (data[i] == 0) continue;
        uint32_t m = magnitude(data[i]);
        if (g == 0) {
          g = m;
          negative = data[i] < 0;
          first_nonzero = i;
        } else {
          g = m == 1 ? 1 : gcd(g, m);
        }
        if (g == 1) return false;
      }
    }
    return true;
  });
  first = first_nonzero;
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
    // Negating -2147483648 has no 32-bit result: the entries wrap while they
    // are negated, and the run ends when one of them had that value.
    // Only -2147483648 is negative both before and after.
    Lanes lowest{};
    for_each_block(*this, [&](uint32_t start) {
      for (uint32_t k = 0; k < kBlock; k += 4) {
        Lanes entries = load_lanes(data + start + k);
        Lanes negated = wrapping_negate(entries);
        lowest |= entries & negated;
        store_lanes(data + start + k, negated);
      }
    });
    if ((or_lanes((UnsignedLanes)lowest) >> 31) != 0) fatal_overflow(kMultiplyOverflow);
    return;
  }
  for_each_block(*this, [&](uint32_t start) {
    int32_t* x = data + start;
    for (uint32_t k = 0; k < kBlock; ++k) x[k] /= divisor;
  });
  largest /= magnitude(divisor);
}

void Row::combine(uint32_t column, const Row& pivot) {
  int32_t t = data[column];
  int32_t p = pivot.get(column);
  if (t == 0 || p == 0) return;

  uint32_t l = lcm(t, p);
  // c * t + b * p = 0: c takes the sign opposite to p, b the sign of t.
  int32_t c = (p > 0 ? -1 : 1) * static_cast<int32_t>(l / magnitude(t));
  int32_t b = sign(t) * static_cast<int32_t>(l / magnitude(p));
  // Every product is checked before any sum is formed, this row first; the
  // products below can then not overflow, only the sums.
  check_scale(c);
  pivot.check_scale(b);
  // Nearly every multiplier of this row is 1 or -1 (pivots have the smallest
  // magnitude). Then the result can take at once the sign that normalize
  // would give it, and the blocks where the pivot is zero mostly stay as
  // they are (see result_sign).
  if ((c == 1 || c == -1) && pivot.size == size) {
    int32_t s = c == 1 ? result_sign<1>(pivot, b) : result_sign<-1>(pivot, b);
    if (s != 0) {
      if (s * c == 1) {
        combine_signed<1>(pivot, s * b);
      } else {
        combine_signed<-1>(pivot, s * b);
      }
      normalize();
      return;
    }
  }
  uint32_t m = 0;
  auto combine_all = [&](auto sign) {
    for_each_block(pivot, [&](uint32_t start) {
      uint32_t block_bound = combine_block<decltype(sign)::value>(start, pivot, c, b);
      m = block_bound > m ? block_bound : m;
    });
  };
  if (c == 1) {
    combine_all(std::integral_constant<int, 1>());
  } else if (c == -1) {
    combine_all(std::integral_constant<int, -1>());
  } else {
    combine_all(std::integral_constant<int, 0>());
  }
  largest = m;
  normalize();
}

// normalize ends by making the first nonzero entry positive, so it negates
// most rows that c * this + b * pivot leaves: with c = -1 every block of
// such a row is negated twice, by c and by normalize. The same result comes
// from s * c * this + s * b * pivot, s being the sign of the first nonzero
// entry of the sum; where the pivot's block is zero that is this row times
// s * c, which for 1 needs no work at all. Returns s (1 for a zero sum), or
// 0 when a sum overflows or is -2147483648: those take the general way,
// whose checks and their order decide which message ends the run. kSign is
// c. Changes nothing.
template <int kSign>
int32_t Row::result_sign(const Row& pivot, int32_t b) const {
  int32_t s = 0;
  bool clean = true;
  for_each_block(pivot, [&](uint32_t start) {
    if (!pivot.block_bit(start / kBlock)) {
      if (s == 0) s = kSign * first_sign(data + start);
      return true;
    }
    int32_t sums[kBlock];
    UnsignedLanes magnitudes{};
    Lanes overflow =
        combine_lanes<kSign>(data + start, pivot.data + start, kSign, b, sums, magnitudes);
    // Only -2147483648 has a magnitude with the top bit set.
    clean = ((or_lanes((UnsignedLanes)overflow) | or_lanes(magnitudes)) >> 31) == 0;
    if (clean && s == 0) s = first_sign(sums);
    return clean;
  });
  if (!clean) return 0;
  return s == 0 ? 1 : s;
}

// this = kSign * this + b * pivot, where result_sign has found that no sum
// overflows. Only the pivot's blocks change magnitude, so the bound of the
// others stays valid.
template <int kSign>
void Row::combine_signed(const Row& pivot, int32_t b) {
  uint32_t m = largest;
  auto visit = [&](uint32_t start) {
    uint32_t block = start / kBlock;
    int32_t* x = data + start;
    if (!pivot.block_bit(block)) {
      for (uint32_t k = 0; k < kBlock; k += 4)
        store_lanes(x + k, scale<kSign>(load_lanes(x + k), kSign));
      return;
    }
    const int32_t* y = pivot.data + start;
    UnsignedLanes magnitudes{};
    for (uint32_t k = 0; k < kBlock; k += 4) {
      Lanes sum = wrapping_add(scale<kSign>(load_lanes(x + k), kSign),
                               wrapping_multiply(load_lanes(y + k), b));
      store_lanes(x + k, sum);
      magnitudes |= lane_magnitudes(sum);
    }
    uint32_t bound = or_lanes(magnitudes);
    if (bound != 0) {
      set_block_bit(block);
    } else {
      clear_block_bit(block);
    }
    m = bound > m ? bound : m;
  };
  // With kSign = 1 the blocks where only this row is nonzero are left alone.
  if (kSign == 1) {
    pivot.for_each_block(pivot, visit);
  } else {
    for_each_block(pivot, visit);
  }
  largest = m;
}

// this = c * this + b * pivot over the block that begins at start. Returns
// the bitwise OR of the block's magnitudes: at least the largest of them,
// and 0 exactly when the block is zero. kSign is c when c is 1 or -1, else 0.
template <int kSign>
uint32_t Row::combine_block(uint32_t start, const Row& pivot, int32_t c, int32_t b) {
  uint32_t block = start / kBlock;
  bool pivot_block = block / 64 < pivot.bitmap_words() && pivot.block_bit(block);
  int32_t* x = data + start;
  UnsignedLanes magnitudes{};
  if (start + kBlock > size) {
    // The last, partial block: its padding must stay zero.
    for (uint32_t i = start; i < size; ++i) {
      data[i] *= c;
      checked_add(data[i], b * pivot.get(i));
    }
    for (uint32_t k = 0; k < kBlock; k += 4) magnitudes |= lane_magnitudes(load_lanes(x + k));
  } else if (!pivot_block) {
    for (uint32_t k = 0; k < kBlock; k += 4) {
      Lanes u = scale<kSign>(load_lanes(x + k), c);
      store_lanes(x + k, u);
      magnitudes |= lane_magnitudes(u);
    }
  } else {
    // The sums wrap; on overflow the run ends anyway.
    Lanes overflow = combine_lanes<kSign>(x, pivot.data + start, c, b, x, magnitudes);
    if ((or_lanes((UnsignedLanes)overflow) >> 31) != 0) fatal_overflow(kAdditionOverflow);
  }
  uint32_t bound = or_lanes(magnitudes);
  if (bound != 0) {
    set_block_bit(block);
  } else {
    clear_block_bit(block);
  }
  return bound;
}
