// A row of a wide reduction: a sparse vector of the integer type T
// (exact.h) with a length. The same operations as Row, with the same
// results wherever both finish; a fixed width that cannot hold a result
// throws WidthExceeded from eliminate or normalize, and the reduction then
// starts again one width up (widen.h).
#ifndef CRNINV_ROWS_WIDE_ROW_H_
#define CRNINV_ROWS_WIDE_ROW_H_

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "rows/sparse_vector.h"

namespace crninv {

template <typename T>
class WideRow {
 public:
  using Value = T;
  // Where eliminate forms its result, kept from one elimination to the
  // next: the row's own arrays then grow only as far as it needs.
  using Workspace = SparseVector<T>;
  static constexpr uint32_t kNone = UINT32_MAX;

  WideRow() = default;
  WideRow(const WideRow&) = delete;
  WideRow& operator=(const WideRow&) = delete;

  // Discards the entries, and their storage, and makes n zero entries.
  void resize(uint32_t n) {
    SparseVector<T>().swap(entries);
    size = n;
  }
  uint32_t length() const { return size; }
  // Appends a nonzero entry after the last one.
  void append(uint32_t column, T value) { entries.push_back(column, std::move(value)); }
  // The entry at column, or null when it is 0.
  const T* find(uint32_t column) const { return entries.find(column); }
  uint32_t nonzeros() const { return entries.size(); }
  uint32_t next_nonzero(uint32_t column) const {
    auto it = std::lower_bound(entries.index.begin(), entries.index.end(), column);
    return it == entries.index.end() ? kNone : *it;
  }
  template <typename Visit>
  void for_each_nonzero(Visit visit) const {
    for (size_t i = 0; i < entries.index.size(); ++i) visit(entries.index[i], entries.value[i]);
  }
  void swap(WideRow& other) {
    entries.swap(other.entries);
    std::swap(size, other.size);
  }

  // Divides out the common factor and makes the first entry positive.
  void normalize() { make_primitive(&entries, true); }
  // this = c * this + b * pivot with the cancelling multipliers of the two
  // entries at column, then normalize. Does nothing when either is 0 there.
  void eliminate(uint32_t column, const WideRow& pivot, Workspace& result);

 private:
  SparseVector<T> entries;
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
void WideRow<T>::eliminate(uint32_t column, const WideRow& pivot, Workspace& result) {
  const T* at = find(column);
  const T* pivot_at = pivot.find(column);
  if (at == nullptr || pivot_at == nullptr) return;
  T c, b;
  cancelling_multipliers(*at, *pivot_at, &c, &b);
  combine(c, entries, b, pivot.entries, &result);
  entries.index.assign(result.index.begin(), result.index.end());
  entries.value.assign(std::make_move_iterator(result.value.begin()),
                       std::make_move_iterator(result.value.end()));
  if (entries.index.capacity() > 4 * entries.index.size() + 16) {
    entries.index.shrink_to_fit();
    entries.value.shrink_to_fit();
  }
  normalize();
}

}  // namespace crninv

#endif  // CRNINV_ROWS_WIDE_ROW_H_
