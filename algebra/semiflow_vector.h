// Exact sparse integer vectors for the semiflow computation, over two
// kinds of integer: int64_t, whose every product and sum is checked and
// throws Overflow when it would not fit, and GMP's mpz_class, which cannot
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

// Thrown by the 64-bit operations when a result would not fit.
struct Overflow {};

// INT64_MIN is refused as well, so that every value can be negated and its
// magnitude taken.
inline int64_t checked_mul(int64_t a, int64_t b) {
  int64_t r;
  if (__builtin_mul_overflow(a, b, &r) || r == INT64_MIN) throw Overflow();
  return r;
}

inline int64_t checked_add(int64_t a, int64_t b) {
  int64_t r;
  if (__builtin_add_overflow(a, b, &r) || r == INT64_MIN) throw Overflow();
  return r;
}

// The operations the algorithms need, one overload per kind of integer.
inline int sign(int64_t x) {
  return (x > 0) - (x < 0);
}
inline int sign(const mpz_class& x) {
  return sgn(x);
}
inline bool is_one(int64_t x) {
  return x == 1;
}
inline bool is_one(const mpz_class& x) {
  return x == 1;
}
// s * x + t * y.
inline int64_t mul_add(int64_t s, int64_t x, int64_t t, int64_t y) {
  return checked_add(checked_mul(s, x), checked_mul(t, y));
}
inline mpz_class mul_add(const mpz_class& s, const mpz_class& x, const mpz_class& t,
                         const mpz_class& y) {
  return s * x + t * y;
}
inline int64_t scaled(int64_t s, int64_t x) {
  return checked_mul(s, x);
}
inline mpz_class scaled(const mpz_class& s, const mpz_class& x) {
  return s * x;
}
// gcd(g, |x|) for g >= 0.
inline int64_t gcd_with(int64_t g, int64_t x) {
  return std::gcd(g, x < 0 ? -x : x);
}
inline mpz_class gcd_with(const mpz_class& g, const mpz_class& x) {
  return gcd(g, x);
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
