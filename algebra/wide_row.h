// A row of a wide reduction: the nonzero entries in column order, of the
// integer type T (see wide_int.h). The same operations as Row, with the
// same results wherever both finish; a fixed width that cannot hold a
// result throws WidthExceeded from eliminate or normalize, and the
// reduction then starts again one width up.
#ifndef CRNINV_ALGEBRA_WIDE_ROW_H_
#define CRNINV_ALGEBRA_WIDE_ROW_H_

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "algebra/row_storage.h"
#include "algebra/wide_int.h"

template <typename T>
class WideRow {
 public:
  using Value = T;
  static constexpr uint32_t kNone = UINT32_MAX;

  WideRow() = default;
  WideRow(const WideRow&) = delete;
  WideRow& operator=(const WideRow&) = delete;

  // Discards the entries and makes n zero entries.
  void resize(uint32_t n) {
    columns.clear();
    values.clear();
    size = n;
  }
  uint32_t length() const { return size; }
  // Appends a nonzero entry after the last one.
  void append(uint32_t column, T value) {
    columns.push_back(column);
    values.push_back(std::move(value));
  }
  // The entry at column, or null when it is 0.
  const T* find(uint32_t column) const {
    auto it = std::lower_bound(columns.begin(), columns.end(), column);
    return it != columns.end() && *it == column ? &values[it - columns.begin()] : nullptr;
  }
  uint32_t nonzeros() const { return static_cast<uint32_t>(columns.size()); }
  uint32_t next_nonzero(uint32_t column) const {
    auto it = std::lower_bound(columns.begin(), columns.end(), column);
    return it == columns.end() ? kNone : *it;
  }
  template <typename Visit>
  void for_each_nonzero(Visit visit) const {
    for (size_t i = 0; i < columns.size(); ++i) visit(columns[i], values[i]);
  }
  void swap(WideRow& other) {
    columns.swap(other.columns);
    values.swap(other.values);
    std::swap(size, other.size);
  }

  // Divides out the common factor and makes the first entry positive.
  void normalize();
  // this = c * this + b * pivot with c, b from the least common multiple of
  // the two entries at column, so that it becomes 0; then normalize. Does
  // nothing when either is 0 there.
  void eliminate(uint32_t column, const WideRow& pivot);

 private:
  using X = Exact<T>;

  std::vector<uint32_t, Accounted<uint32_t>> columns;
  std::vector<T, Accounted<T>> values;
  uint32_t size = 0;
};

// Whether a's entry at column is smaller in magnitude than b's: -1, 0, 1.
template <typename T>
int compare_magnitudes(const WideRow<T>& a, const WideRow<T>& b, uint32_t column) {
  using X = Exact<T>;
  T ma = X::abs(*a.find(column)), mb = X::abs(*b.find(column));
  return X::less(ma, mb) ? -1 : X::less(mb, ma) ? 1 : 0;
}

template <typename T>
void WideRow<T>::normalize() {
  if (values.empty()) return;
  // Most rows hold an entry of magnitude 1, often far from the first: a
  // search for one costs less than the first steps of Euclid's algorithm.
  bool unit = std::any_of(values.begin(), values.end(), [](const T& v) { return X::is_unit(v); });
  T g = unit ? X::from(1) : X::abs(values[0]);
  for (size_t i = 1; i < values.size() && !X::is_one(g); ++i) g = X::gcd(g, X::abs(values[i]));
  bool negative = X::sign(values[0]) < 0;
  if (X::is_one(g)) {
    if (negative) {
      for (T& v : values) v = X::negate(v);
    }
    return;
  }
  if (negative) g = X::negate(g);
  for (T& v : values) v = X::divide(v, g);
}

template <typename T>
void WideRow<T>::eliminate(uint32_t column, const WideRow& pivot) {
  const T* at = find(column);
  const T* pivot_at = pivot.find(column);
  if (at == nullptr || pivot_at == nullptr) return;
  T t = *at, p = *pivot_at;
  T g = X::gcd(X::abs(t), X::abs(p));
  // c * t + b * p = 0: c takes the sign opposite to p, b the sign of t.
  T c = X::divide(X::abs(p), g), b = X::divide(X::abs(t), g);
  if (X::sign(p) > 0) c = X::negate(c);
  if (X::sign(t) < 0) b = X::negate(b);
  // Walks the merge of both rows, calling emit(column, sum) for every sum;
  // emit returns false to stop.
  auto merge = [&](auto emit) {
    size_t r = 0, q = 0;
    while (r < columns.size() || q < pivot.columns.size()) {
      uint32_t c_row = r < columns.size() ? columns[r] : kNone;
      uint32_t c_pivot =
          q < pivot.columns.size() && pivot.columns[q] < size ? pivot.columns[q] : kNone;
      if (c_row == kNone && c_pivot == kNone) return;
      bool go_on;
      if (c_row < c_pivot) {
        go_on = emit(c_row, X::times(c, values[r++]));
      } else if (c_pivot < c_row) {
        go_on = emit(c_pivot, X::times(b, pivot.values[q++]));
      } else {
        T sum = X::times(c, values[r++]);
        go_on = emit(c_row, X::add(sum, X::times(b, pivot.values[q++])));
      }
      if (!go_on) return;
    }
  };
  // The sign of the first nonzero sum, found first: the result is then
  // written with its first entry positive, as normalize would leave it.
  int first_sign = 0;
  merge([&](uint32_t, const T& sum) {
    first_sign = X::sign(sum);
    return first_sign == 0;
  });
  if (first_sign < 0) {
    c = X::negate(c);
    b = X::negate(b);
  }
  // The result is formed in buffers kept from one elimination to the next,
  // then copied into the row's own arrays, which grow only as it needs.
  static thread_local std::vector<uint32_t, Accounted<uint32_t>> new_columns;
  static thread_local std::vector<T, Accounted<T>> new_values;
  size_t most = columns.size() + pivot.columns.size();
  if (new_columns.size() < most) {
    new_columns.resize(most);
    new_values.resize(most);
  }
  size_t w = 0;
  merge([&](uint32_t where, T&& sum) {
    if (X::sign(sum) != 0) {
      new_columns[w] = where;
      new_values[w++] = std::move(sum);
    }
    return true;
  });
  columns.assign(new_columns.begin(), new_columns.begin() + static_cast<ptrdiff_t>(w));
  values.assign(std::make_move_iterator(new_values.begin()),
                std::make_move_iterator(new_values.begin() + static_cast<ptrdiff_t>(w)));
  if (columns.capacity() > 4 * columns.size() + 16) {
    columns.shrink_to_fit();
    values.shrink_to_fit();
  }
  normalize();
}

#endif  // CRNINV_ALGEBRA_WIDE_ROW_H_
