// Exact sparse integer vectors for the semiflow computation, over two
// kinds of integer: int64_t, whose every product and sum is checked and
// throws WidthExceeded when it would not fit, and GMP's mpz_class, which cannot
// overflow. A computation runs on int64_t first and, when that throws, again
// on mpz_class: no wrong result either way, and the common case pays no
// allocation per entry.
#ifndef CRNINV_ALGEBRA_SEMIFLOW_VECTOR_H_
#define CRNINV_ALGEBRA_SEMIFLOW_VECTOR_H_

#include <gmpxx.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

#include "algebra/row_storage.h"
#include "algebra/wide_int.h"

// The operations the algorithms need, on the integers of algebra/wide_int.h:
// the 64-bit ones throw WidthExceeded when a result does not fit. INT64_MIN
// is refused as a result too, so that every value held can be negated and
// its magnitude taken.
inline int64_t fitted(int64_t r) {
  if (r == Exact<int64_t>::kLowest) throw WidthExceeded();
  return r;
}
inline const mpz_class& fitted(const mpz_class& r) {
  return r;
}

template <typename Int>
int sign(const Int& x) {
  return Exact<Int>::sign(x);
}
template <typename Int>
bool is_one(const Int& x) {
  return Exact<Int>::is_one(x);
}
// s * x + t * y.
template <typename Int>
Int mul_add(const Int& s, const Int& x, const Int& t, const Int& y) {
  return fitted(Exact<Int>::add(Exact<Int>::mul(s, x), Exact<Int>::mul(t, y)));
}
template <typename Int>
Int scaled(const Int& s, const Int& x) {
  return fitted(Exact<Int>::mul(s, x));
}
// gcd(g, |x|) for g >= 0.
template <typename Int>
Int gcd_with(const Int& g, const Int& x) {
  return Exact<Int>::gcd(g, Exact<Int>::abs(x));
}

// The nonzero entries of a vector, in increasing index order.
template <typename Int>
struct SparseVector {
  std::vector<uint32_t, Accounted<uint32_t>> index;
  std::vector<Int, Accounted<Int>> value;

  uint32_t size() const { return static_cast<uint32_t>(index.size()); }
  // The entry at i (zero when absent), by binary search.
  const Int* find(uint32_t i) const {
    auto it = std::lower_bound(index.begin(), index.end(), i);
    if (it == index.end() || *it != i) return nullptr;
    return &value[it - index.begin()];
  }
  void negate() {
    for (Int& v : value) v = -v;
  }
};

// A set of vectors, counted in the memory account.
template <typename Int>
using VectorSet = std::vector<SparseVector<Int>, Accounted<SparseVector<Int>>>;

// Divides the entries by their greatest common divisor (signs are kept).
template <typename Int>
void make_primitive(SparseVector<Int>* v) {
  Int g = 0;
  for (const Int& x : v->value) {
    g = gcd_with(g, x);
    if (is_one(g)) return;
  }
  if (sign(g) == 0) return;
  for (Int& x : v->value) x /= g;
}

// Puts the entries in increasing index order.
template <typename Int>
void sort_by_index(SparseVector<Int>* v) {
  std::vector<uint32_t> order(v->size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](uint32_t x, uint32_t y) { return v->index[x] < v->index[y]; });
  SparseVector<Int> sorted;
  for (uint32_t k : order) {
    sorted.index.push_back(v->index[k]);
    sorted.value.push_back(std::move(v->value[k]));
  }
  *v = std::move(sorted);
}

// *out = s * x + t * y, without its zero entries, made primitive.
template <typename Int>
void combine(const Int& s, const SparseVector<Int>& x, const Int& t, const SparseVector<Int>& y,
             SparseVector<Int>* out) {
  out->index.clear();
  out->value.clear();
  out->index.reserve(x.size() + y.size());
  out->value.reserve(x.size() + y.size());
  uint32_t i = 0, j = 0;
  const Int zero = 0;
  while (i < x.size() || j < y.size()) {
    uint32_t xi = i < x.size() ? x.index[i] : UINT32_MAX;
    uint32_t yj = j < y.size() ? y.index[j] : UINT32_MAX;
    uint32_t at = xi < yj ? xi : yj;
    Int v = mul_add(s, xi == at ? x.value[i] : zero, t, yj == at ? y.value[j] : zero);
    if (xi == at) ++i;
    if (yj == at) ++j;
    if (sign(v) != 0) {
      out->index.push_back(at);
      out->value.push_back(std::move(v));
    }
  }
  make_primitive(out);
}

#endif  // CRNINV_ALGEBRA_SEMIFLOW_VECTOR_H_
