// The dense form of a row: every entry, padded with zeros to whole blocks
// of kBlock entries, and a bitmap with one bit per block, set exactly when
// the block holds a nonzero entry. Every pass over the row skips the zero
// blocks, so that a long row that holds little costs little; and an array
// given back clean (every entry zero again) serves the next row of its
// length without being cleared (storage.h).
#ifndef CRNINV_ROWS_BLOCK_STORE_H_
#define CRNINV_ROWS_BLOCK_STORE_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "base/storage.h"

namespace crninv {

template <typename T>
class BlockStore {
 public:
  static constexpr uint32_t kBlock = 16;
  static constexpr uint32_t kNone = UINT32_MAX;

  BlockStore() = default;
  ~BlockStore() { release(); }
  BlockStore(const BlockStore&) = delete;
  BlockStore& operator=(const BlockStore&) = delete;

  // n entries, all zero.
  void allocate(uint32_t n) {
    release();
    length = n;
    data = static_cast<T*>(obtain_zeroed(data_bytes()));
    blocks = static_cast<uint64_t*>(obtain_zeroed(bitmap_bytes()));
  }
  void release() {
    give_back(data, data_bytes());
    give_back(blocks, bitmap_bytes());
    data = nullptr;
    blocks = nullptr;
  }
  // Makes every entry zero, at the cost of the nonzero blocks, and gives
  // the arrays back clean.
  void release_clean() {
    clear();
    give_back_clean(data, data_bytes());
    give_back_clean(blocks, bitmap_bytes());
    data = nullptr;
    blocks = nullptr;
  }
  bool allocated() const { return data != nullptr; }
  void swap(BlockStore& other) {
    std::swap(data, other.data);
    std::swap(blocks, other.blocks);
    std::swap(length, other.length);
  }

  // Makes every entry zero, keeping the storage.
  void clear() {
    for_each_block([&](uint32_t start) {
      memset(data + start, 0, kBlock * sizeof(T));
      return true;
    });
    memset(blocks, 0, bitmap_bytes());
  }

  uint32_t words() const { return (length + kBlock * 64 - 1) / (kBlock * 64); }
  bool block_bit(uint32_t block) const { return (blocks[block / 64] >> (block % 64)) & 1; }
  void set_block_bit(uint32_t block, bool nonzero) {
    uint64_t bit = uint64_t{1} << (block % 64);
    blocks[block / 64] = nonzero ? blocks[block / 64] | bit : blocks[block / 64] & ~bit;
  }
  // Sets the block's bit when it holds a nonzero entry, else clears it.
  void refresh_block_bit(uint32_t block) {
    const T* x = data + size_t{block} * kBlock;
    T any = 0;
    for (uint32_t k = 0; k < kBlock; ++k) any |= x[k];
    set_block_bit(block, any != 0);
  }

  // Calls visit(start) with the first column of every block that holds a
  // nonzero entry, in order, until visit returns false.
  template <typename Visit>
  void for_each_block(Visit visit) const {
    for (uint32_t w = 0, n = words(); w < n; ++w) {
      for (uint64_t bits = blocks[w]; bits != 0; bits &= bits - 1) {
        if (!visit((w * 64 + static_cast<uint32_t>(__builtin_ctzll(bits))) * kBlock)) return;
      }
    }
  }
  // Calls visit(column, entry) for every nonzero entry, in column order.
  template <typename Visit>
  void for_each_nonzero(Visit visit) const {
    for_each_block([&](uint32_t start) {
      for (uint32_t k = start; k < start + kBlock; ++k) {
        if (data[k] != 0) visit(k, data[k]);
      }
      return true;
    });
  }
  uint32_t count_nonzero() const {
    uint32_t n = 0;
    for_each_block([&](uint32_t start) {
      for (uint32_t k = start; k < start + kBlock; ++k) n += data[k] != 0;
      return true;
    });
    return n;
  }
  // The first column at or after column whose entry is nonzero, or kNone.
  uint32_t next_nonzero(uint32_t column) const {
    if (column >= length) return kNone;
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

  T* data = nullptr;
  uint64_t* blocks = nullptr;

 private:
  size_t data_bytes() const { return (size_t{length} + kBlock - 1) / kBlock * kBlock * sizeof(T); }
  size_t bitmap_bytes() const { return words() * sizeof(uint64_t); }

  uint32_t length = 0;
};

}  // namespace crninv

#endif  // CRNINV_ROWS_BLOCK_STORE_H_
