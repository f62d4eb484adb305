// The row's storage, its two forms and plain access.
#include "algebra/row.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "algebra/arith.h"
#include "algebra/lanes.h"
#include "algebra/row_storage.h"

namespace {

// Dense entries are padded to whole blocks.
size_t padded(uint32_t n) {
  return (size_t{n} + Row::kBlock - 1) / Row::kBlock * Row::kBlock;
}

size_t bitmap_words(uint32_t n) {
  return (size_t{n} + Row::kBlock * 64 - 1) / (Row::kBlock * 64);
}

// A row turns dense when at least one entry in kDenseFrom is nonzero, and
// sparse again when fewer than one in kSparseFrom are: the gap keeps a row
// that hovers near one threshold from changing form at every step. Short
// rows stay sparse, where a merge costs no more than a pass over blocks.
constexpr uint64_t kDenseFrom = 16;
constexpr uint64_t kSparseFrom = 64;
constexpr uint32_t kDenseMinLength = 1024;

// Dense arrays that read as zero again, kept for the next row that turns
// dense: a row that leaves the dense form clears only its nonzero blocks,
// so that changing form costs what the row holds, not its length.
void give_back_dense(uint32_t size, int32_t* data, uint64_t* blocks) {
  give_back(data, padded(size) * sizeof(int32_t));
  give_back(blocks, bitmap_words(size) * sizeof(uint64_t));
}

struct CleanArrays {
  uint32_t size;
  int32_t* data;
  uint64_t* blocks;
};

// Given back when the process ends, like every other byte.
struct CleanPool {
  ~CleanPool() {
    for (const CleanArrays& a : kept) give_back_dense(a.size, a.data, a.blocks);
  }
  std::vector<CleanArrays> kept;
};
CleanPool clean_pool;
std::vector<CleanArrays>& clean_arrays = clean_pool.kept;
constexpr size_t kCleanArraysKept = 32;

}  // namespace

Row::~Row() {
  release();
}

void Row::release() {
  give_back(columns, capacity * sizeof(uint32_t));
  give_back(values, capacity * sizeof(int32_t));
  if (data != nullptr) give_back_dense(size, data, blocks);
  columns = nullptr;
  values = nullptr;
  data = nullptr;
  blocks = nullptr;
  capacity = 0;
  count = 0;
  largest = 0;
  flipped = false;
}

void Row::resize(uint32_t n) {
  release();
  size = n;
}

uint32_t Row::find(uint32_t column) const {
  return static_cast<uint32_t>(std::lower_bound(columns, columns + count, column) - columns);
}

int32_t Row::get(uint32_t column) const {
  if (column >= size) return 0;
  if (data != nullptr) return true_value(data[column]);
  uint32_t i = find(column);
  return i < count && columns[i] == column ? true_value(values[i]) : 0;
}

void Row::add(uint32_t column, int32_t value) {
  if (column >= size) return;
  unflip();  // the sum may be -2147483648, which has no negation
  int32_t old = get(column);
  int32_t sum = old;
  checked_add(sum, value);
  if (sum == old) return;
  largest = std::max(largest, magnitude(sum));
  if (data != nullptr) {
    count += (sum != 0) - (old != 0);
    data[column] = sum;
    refresh_block_bit(column / kBlock);
  } else if (old != 0) {
    uint32_t i = find(column);
    if (sum != 0) {
      values[i] = sum;
    } else {  // the entry cancelled
      --count;
      memmove(columns + i, columns + i + 1, (count - i) * sizeof(uint32_t));
      memmove(values + i, values + i + 1, (count - i) * sizeof(int32_t));
    }
  } else {
    reserve(count + 1);
    uint32_t i = find(column);
    memmove(columns + i + 1, columns + i, (count - i) * sizeof(uint32_t));
    memmove(values + i + 1, values + i, (count - i) * sizeof(int32_t));
    columns[i] = column;
    values[i] = sum;
    ++count;
  }
  fit_form();
}

void Row::swap(Row& other) {
  std::swap(columns, other.columns);
  std::swap(values, other.values);
  std::swap(capacity, other.capacity);
  std::swap(data, other.data);
  std::swap(blocks, other.blocks);
  std::swap(size, other.size);
  std::swap(count, other.count);
  std::swap(largest, other.largest);
  std::swap(flipped, other.flipped);
}

uint32_t Row::next_nonzero(uint32_t column) const {
  if (column >= size) return kNone;
  if (data == nullptr) {
    uint32_t i = find(column);
    return i < count ? columns[i] : kNone;
  }
  uint32_t block = column / kBlock;
  if (block_bit(block)) {
    for (uint32_t k = column; k < (block + 1) * kBlock; ++k) {
      if (data[k] != 0) return k;
    }
  }
  // The next set bit after block; its block holds a nonzero entry.
  uint32_t from = block + 1;
  for (uint32_t w = from / 64, n = words(); w < n; ++w) {
    uint64_t bits = blocks[w];
    if (w == from / 64) bits &= ~uint64_t{0} << (from % 64);
    if (bits == 0) continue;
    for (uint32_t k = (w * 64 + static_cast<uint32_t>(__builtin_ctzll(bits))) * kBlock;; ++k) {
      if (data[k] != 0) return k;
    }
  }
  return kNone;
}

void Row::reserve(uint32_t n) {
  if (n <= capacity) return;
  uint32_t grown = std::max<uint32_t>({n, capacity + capacity / 2, 4});
  auto* new_columns = static_cast<uint32_t*>(obtain(size_t{grown} * sizeof(uint32_t)));
  auto* new_values = static_cast<int32_t*>(obtain(size_t{grown} * sizeof(int32_t)));
  if (count != 0) {
    memcpy(new_columns, columns, count * sizeof(uint32_t));
    memcpy(new_values, values, count * sizeof(int32_t));
  }
  give_back(columns, capacity * sizeof(uint32_t));
  give_back(values, capacity * sizeof(int32_t));
  columns = new_columns;
  values = new_values;
  capacity = grown;
}

void Row::assign_sparse(const uint32_t* new_columns, const int32_t* new_values, uint32_t n) {
  // Arrays far larger than the entries are given back: a row that was long
  // once keeps no more than it holds now.
  if (n > capacity || capacity / 4 > n + 16) {
    give_back(columns, capacity * sizeof(uint32_t));
    give_back(values, capacity * sizeof(int32_t));
    columns = nullptr;
    values = nullptr;
    capacity = 0;
    count = 0;
    reserve(n + n / 2);
  }
  memcpy(columns, new_columns, n * sizeof(uint32_t));
  memcpy(values, new_values, n * sizeof(int32_t));
  count = n;
}

void Row::set_block_bit(uint32_t block, bool nonzero) {
  uint64_t bit = uint64_t{1} << (block % 64);
  blocks[block / 64] = nonzero ? blocks[block / 64] | bit : blocks[block / 64] & ~bit;
}

void Row::refresh_block_bit(uint32_t block) {
  const int32_t* x = data + size_t{block} * kBlock;
  Lanes any = load_lanes(x) | load_lanes(x + 4) | load_lanes(x + 8) | load_lanes(x + 12);
  set_block_bit(block, or_lanes((UnsignedLanes)any) != 0);
}

uint32_t Row::dense_nonzeros() const {
  uint32_t n = 0;
  for_each_block([&](uint32_t start) {
    for (uint32_t k = start; k < start + kBlock; ++k) n += data[k] != 0;
    return true;
  });
  return n;
}

void Row::become_dense() {
  int32_t* new_data = nullptr;
  uint64_t* new_blocks = nullptr;
  for (size_t i = clean_arrays.size(); i-- > 0;) {
    if (clean_arrays[i].size != size) continue;
    new_data = clean_arrays[i].data;
    new_blocks = clean_arrays[i].blocks;
    clean_arrays.erase(clean_arrays.begin() + static_cast<ptrdiff_t>(i));
    break;
  }
  if (new_data == nullptr) {
    new_data = static_cast<int32_t*>(obtain_zeroed(padded(size) * sizeof(int32_t)));
    new_blocks = static_cast<uint64_t*>(obtain_zeroed(words() * sizeof(uint64_t)));
  }
  data = new_data;
  blocks = new_blocks;
  for (uint32_t i = 0; i < count; ++i) {
    data[columns[i]] = values[i];
    set_block_bit(columns[i] / kBlock, true);
  }
  give_back(columns, capacity * sizeof(uint32_t));
  give_back(values, capacity * sizeof(int32_t));
  columns = nullptr;
  values = nullptr;
  capacity = 0;
}

void Row::become_sparse() {
  uint32_t n = std::max<uint32_t>(count, 4);
  auto* new_columns = static_cast<uint32_t*>(obtain(size_t{n} * sizeof(uint32_t)));
  auto* new_values = static_cast<int32_t*>(obtain(size_t{n} * sizeof(int32_t)));
  uint32_t i = 0;
  for_each_block([&](uint32_t start) {
    for (uint32_t k = start; k < start + kBlock; ++k) {
      if (data[k] == 0) continue;
      new_columns[i] = k;
      new_values[i++] = data[k];
      data[k] = 0;
    }
    return true;
  });
  memset(blocks, 0, words() * sizeof(uint64_t));
  if (clean_arrays.size() < kCleanArraysKept) {
    clean_arrays.push_back({size, data, blocks});
  } else {
    give_back_dense(size, data, blocks);
  }
  data = nullptr;
  blocks = nullptr;
  columns = new_columns;
  values = new_values;
  capacity = n;
}

void Row::fit_form() {
  if (data == nullptr) {
    if (size >= kDenseMinLength && count * kDenseFrom >= size) become_dense();
  } else if (count * kSparseFrom < size) {
    become_sparse();
  }
}

void Row::unflip() {
  if (!flipped) return;
  flipped = false;
  if (data == nullptr) {
    for (uint32_t i = 0; i < count; ++i) values[i] = -values[i];
    return;
  }
  for_each_block([&](uint32_t start) {
    for (uint32_t k = start; k < start + kBlock; ++k) data[k] = -data[k];
    return true;
  });
}

uint32_t Row::exact_largest() const {
  uint32_t m = 0;
  for_each_nonzero([&](uint32_t, int32_t value) { m = std::max(m, magnitude(value)); });
  return m;
}
