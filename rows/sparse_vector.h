// The one sparse vector of the computations: the nonzero entries of a
// vector, in increasing index order, over an integer type of exact.h, its
// storage counted in the account of the call (storage.h). The sparse form
// of a 32-bit row, a wide row and a semiflow's vector are each one.
#ifndef CRNINV_ROWS_SPARSE_VECTOR_H_
#define CRNINV_ROWS_SPARSE_VECTOR_H_

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "base/exact.h"
#include "base/storage.h"

namespace crninv {

template <typename T>
struct SparseVector {
  AccountedVector<uint32_t> index;
  AccountedVector<T> value;

  uint32_t size() const { return static_cast<uint32_t>(index.size()); }
  bool empty() const { return index.empty(); }
  // The entry at i, or null when it is 0, by binary search.
  const T* find(uint32_t i) const {
    auto it = std::lower_bound(index.begin(), index.end(), i);
    if (it == index.end() || *it != i) return nullptr;
    return &value[static_cast<size_t>(it - index.begin())];
  }
  void push_back(uint32_t i, T v) {
    index.push_back(i);
    value.push_back(std::move(v));
  }
  void clear() {
    index.clear();
    value.clear();
  }
  void swap(SparseVector& other) {
    index.swap(other.index);
    value.swap(other.value);
  }
  void negate() {
    for (T& v : value) v = Exact<T>::negate(v);
  }
};

// A set of vectors, counted in the account too.
template <typename T>
using VectorSet = std::vector<SparseVector<T>, Accounted<SparseVector<T>>>;

// r, refused when it is the lowest value of a fixed width, whose negation
// and magnitude do not fit: every value held can then be negated.
inline int64_t fitted(int64_t r) {
  if (r == Exact<int64_t>::kLowest) width_exceeded(kMultiplyOverflow);
  return r;
}
inline Int128 fitted(Int128 r) {
  if (r == Exact<Int128>::kLowest) width_exceeded(kMultiplyOverflow);
  return r;
}
inline const mpz_class& fitted(const mpz_class& r) {
  return r;
}

// The greatest common divisor of the values' magnitudes. Most vectors hold
// an entry of magnitude 1, often far from the first: a search for one
// costs less than the first steps of Euclid's algorithm.
template <typename T>
T common_divisor(const AccountedVector<T>& values) {
  using X = Exact<T>;
  if (std::any_of(values.begin(), values.end(), [](const T& v) { return X::is_unit(v); })) {
    return X::from(1);
  }
  T g = X::from(0);
  for (size_t i = 0; i < values.size() && !X::is_one(g); ++i) g = X::gcd(g, X::abs(values[i]));
  return g;
}

// Divides the entries by their common divisor and, when first_positive,
// makes the first entry positive (signs are kept otherwise).
template <typename T>
void make_primitive(SparseVector<T>* v, bool first_positive) {
  using X = Exact<T>;
  if (v->empty()) return;
  T g = common_divisor(v->value);
  bool negative = first_positive && X::sign(v->value[0]) < 0;
  if (X::is_one(g)) {
    if (negative) v->negate();
    return;
  }
  if (negative) g = X::negate(g);
  for (T& x : v->value) x = X::divide(x, g);
}

// Puts the entries in increasing index order.
template <typename T>
void sort_by_index(SparseVector<T>* v) {
  std::vector<uint32_t> order(v->size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](uint32_t x, uint32_t y) { return v->index[x] < v->index[y]; });
  SparseVector<T> sorted;
  for (uint32_t k : order) sorted.push_back(v->index[k], std::move(v->value[k]));
  *v = std::move(sorted);
}

// *out = c * x + b * y, without its zero entries: the elimination step of
// every fraction-free elimination here (see cancelling_multipliers).
template <typename T>
void combine(const T& c, const SparseVector<T>& x, const T& b, const SparseVector<T>& y,
             SparseVector<T>* out) {
  using X = Exact<T>;
  out->clear();
  out->index.reserve(x.size() + y.size());
  out->value.reserve(x.size() + y.size());
  uint32_t i = 0, j = 0;
  while (i < x.size() || j < y.size()) {
    uint32_t xi = i < x.size() ? x.index[i] : UINT32_MAX;
    uint32_t yj = j < y.size() ? y.index[j] : UINT32_MAX;
    T v;
    if (xi < yj) {
      v = fitted(X::times(c, x.value[i++]));
    } else if (yj < xi) {
      v = fitted(X::times(b, y.value[j++]));
    } else {
      v = fitted(X::add(X::times(c, x.value[i++]), X::times(b, y.value[j++])));
    }
    if (X::sign(v) != 0) out->push_back(xi < yj ? xi : yj, std::move(v));
  }
}

}  // namespace crninv

#endif  // CRNINV_ROWS_SPARSE_VECTOR_H_
