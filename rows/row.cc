// The row's storage, its two forms and plain access.
#include "rows/row.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace crninv {

namespace {

// A row turns dense when at least one entry in kDenseFrom is nonzero, and
// sparse again when fewer than one in kSparseFrom are: the gap keeps a row
// that hovers near one threshold from changing form at every step. Short
// rows stay sparse, where a merge costs no more than a pass over blocks.
constexpr uint64_t kDenseFrom = 16;
constexpr uint64_t kSparseFrom = 64;
constexpr uint32_t kDenseMinLength = 1024;

}  // namespace

void Row::release() {
  SparseVector<int32_t>().swap(sparse);
  dense.release();
  count = 0;
  largest = 0;
  flipped = false;
}

void Row::resize(uint32_t n) {
  release();
  size = n;
}

void Row::assign(const uint32_t* new_columns, const int64_t* new_values, uint32_t n) {
  release();
  sparse.index.assign(new_columns, new_columns + n);
  sparse.value.reserve(n);
  for (uint32_t i = 0; i < n; ++i) {
    int32_t v = Exact<int32_t>::from(new_values[i]);
    sparse.value.push_back(v);
    largest = std::max(largest, magnitude(v));
  }
  count = n;
  fit_form();
}

uint32_t Row::find(uint32_t column) const {
  const uint32_t* columns = sparse.index.data();
  return static_cast<uint32_t>(std::lower_bound(columns, columns + count, column) - columns);
}

int32_t Row::get(uint32_t column) const {
  if (column >= size) return 0;
  if (dense.allocated()) return true_value(dense.data[column]);
  uint32_t i = find(column);
  return i < count && sparse.index[i] == column ? true_value(sparse.value[i]) : 0;
}

void Row::add(uint32_t column, int32_t value) {
  if (column >= size) return;
  unflip();  // the sum may be -2147483648, which has no negation
  int32_t old = get(column);
  int32_t sum = Exact<int32_t>::add(old, value);
  if (sum == old) return;
  largest = std::max(largest, magnitude(sum));
  if (dense.allocated()) {
    count += (sum != 0) - (old != 0);
    dense.data[column] = sum;
    dense.refresh_block_bit(column / kBlock);
  } else if (old != 0) {
    uint32_t i = find(column);
    if (sum != 0) {
      sparse.value[i] = sum;
    } else {  // the entry cancelled
      --count;
      sparse.index.erase(sparse.index.begin() + i);
      sparse.value.erase(sparse.value.begin() + i);
    }
  } else {
    reserve(count + 1);
    uint32_t i = find(column);
    sparse.index.insert(sparse.index.begin() + i, column);
    sparse.value.insert(sparse.value.begin() + i, sum);
    ++count;
  }
  fit_form();
}

void Row::append(uint32_t column, int32_t value) {
  if (dense.allocated() || flipped || (count != 0 && column <= sparse.index.back())) {
    add(column, value);
    return;
  }
  if (column >= size || value == 0) return;
  reserve(count + 1);
  sparse.push_back(column, value);
  ++count;
  largest = std::max(largest, magnitude(value));
}

void Row::swap(Row& other) {
  sparse.swap(other.sparse);
  dense.swap(other.dense);
  std::swap(size, other.size);
  std::swap(count, other.count);
  std::swap(largest, other.largest);
  std::swap(flipped, other.flipped);
}

uint32_t Row::next_nonzero(uint32_t column) const {
  if (column >= size) return kNone;
  if (dense.allocated()) return dense.next_nonzero(column);
  uint32_t i = find(column);
  return i < count ? sparse.index[i] : kNone;
}

void Row::reserve(uint32_t n) {
  uint32_t capacity = static_cast<uint32_t>(sparse.index.capacity());
  if (n <= capacity) return;
  uint32_t grown = std::max<uint32_t>({n, capacity + capacity / 2, 4});
  sparse.index.reserve(grown);
  sparse.value.reserve(grown);
}

void Row::assign_sparse(const uint32_t* new_columns, const int32_t* new_values, uint32_t n) {
  // Arrays far larger than the entries are given back: a row that was long
  // once keeps no more than it holds now.
  uint32_t capacity = static_cast<uint32_t>(sparse.index.capacity());
  if (n > capacity || capacity / 4 > n + 16) {
    SparseVector<int32_t>().swap(sparse);
    reserve(n + n / 2);
  }
  sparse.index.assign(new_columns, new_columns + n);
  sparse.value.assign(new_values, new_values + n);
  count = n;
}

void Row::become_dense() {
  dense.allocate(size);
  for (uint32_t i = 0; i < count; ++i) {
    dense.data[sparse.index[i]] = sparse.value[i];
    dense.set_block_bit(sparse.index[i] / kBlock, true);
  }
  SparseVector<int32_t>().swap(sparse);
}

void Row::become_sparse() {
  SparseVector<int32_t> entries;
  uint32_t n = std::max<uint32_t>(count, 4);
  entries.index.reserve(n);
  entries.value.reserve(n);
  dense.for_each_nonzero([&](uint32_t k, int32_t stored) { entries.push_back(k, stored); });
  dense.release_clean();
  sparse.swap(entries);
}

void Row::fit_form() {
  if (!dense.allocated()) {
    if (size >= kDenseMinLength && count * kDenseFrom >= size) become_dense();
  } else if (count * kSparseFrom < size) {
    become_sparse();
  }
}

void Row::unflip() {
  if (!flipped) return;
  flipped = false;
  if (!dense.allocated()) {
    for (int32_t& v : sparse.value) v = -v;
    return;
  }
  dense.for_each_block([&](uint32_t start) {
    for (uint32_t k = start; k < start + kBlock; ++k) dense.data[k] = -dense.data[k];
    return true;
  });
}

uint32_t Row::exact_largest() const {
  uint32_t m = 0;
  for_each_nonzero([&](uint32_t, int32_t value) { m = std::max(m, magnitude(value)); });
  return m;
}

int compare_magnitudes(const Row& a, const Row& b, uint32_t column) {
  uint32_t ma = magnitude(a.get(column)), mb = magnitude(b.get(column));
  return ma < mb ? -1 : ma > mb ? 1 : 0;
}

}  // namespace crninv
