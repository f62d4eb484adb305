// One row of the augmented matrix: a dense, fixed-length run of signed
// 32-bit entries that owns its storage. Rows are never copied; they change
// places only by swap().
//
// Rows of a reaction network are sparse, so beside the dense entries a row
// keeps a bitmap with one bit per block of kBlock entries. A clear bit means
// the whole block is zero; a set bit only means it may hold a nonzero entry.
// Every pass skips the clear blocks, which makes the work of an elimination
// follow the nonzero entries rather than the length of the row.
#ifndef CRNINV_ALGEBRA_ROW_H_
#define CRNINV_ALGEBRA_ROW_H_

#include <cstdint>

class Row {
 public:
  // Entries per bitmap bit: one cache line of entries.
  static constexpr uint32_t kBlock = 16;

  Row() = default;
  ~Row();
  Row(const Row&) = delete;
  Row& operator=(const Row&) = delete;

  // Discards the entries and makes n zero entries.
  void resize(uint32_t n);
  uint32_t length() const { return size; }
  // Columns at or past the end read as 0.
  int32_t get(uint32_t column) const { return column < size ? data[column] : 0; }
  // Adds value at column; ignored past the end. A sum outside the 32-bit
  // range ends the process like any other overflow.
  void add(uint32_t column, int32_t value);
  void swap(Row& other);

  // False only when the entry at column is certainly 0. Cheap: it reads the
  // row itself and one bitmap word, never the entries.
  bool maybe_nonzero(uint32_t column) const {
    return column >= first && column < size &&
           ((blocks[column / kBlock / 64] >> (column / kBlock % 64)) & 1) != 0;
  }

  // The first column at or after column whose entry is nonzero, or kNone.
  // Skips zero blocks unread.
  static constexpr uint32_t kNone = UINT32_MAX;
  uint32_t next_nonzero(uint32_t column) const;

  // Ends the process unless every entry times factor has a magnitude of at
  // most 2147483647. Changes nothing.
  void check_scale(int32_t factor) const;
  // Divides out the common factor of the entries and makes the first
  // nonzero entry positive. An all-zero row is left as it is.
  void normalize();
  // Replaces this row by c * this + b * pivot with c, b chosen from the
  // least common multiple so that the column becomes 0, then normalizes.
  // Does nothing when either row is 0 there (or the column is past the end).
  void eliminate(uint32_t column, const Row& pivot) {
    if (maybe_nonzero(column)) combine(column, pivot);
  }

 private:
  void combine(uint32_t column, const Row& pivot);
  template <int kSign>
  uint32_t combine_block(uint32_t start, const Row& pivot, int32_t c, int32_t b);
  template <int kSign>
  int32_t result_sign(const Row& pivot, int32_t b) const;
  template <int kSign>
  void combine_signed(const Row& pivot, int32_t b);
  bool block_bit(uint32_t block) const { return (blocks[block / 64] >> (block % 64)) & 1; }
  void set_block_bit(uint32_t block) { blocks[block / 64] |= uint64_t{1} << (block % 64); }
  void clear_block_bit(uint32_t block) { blocks[block / 64] &= ~(uint64_t{1} << (block % 64)); }
  uint32_t bitmap_words() const { return (size + kBlock * 64 - 1) / (kBlock * 64); }

  // Calls visit(start) for the first entry of every block whose bit is set
  // in this row's bitmap or in other's (pass other = this for one row), in
  // order; a visit that returns false ends the walk.
  template <typename Visit>
  void for_each_block(const Row& other, Visit visit) const;

  int32_t* data = nullptr;  // size entries, zero-padded to whole blocks
  uint64_t* blocks = nullptr;
  uint32_t size = 0;
  // No entry before this column is nonzero: a lower bound that the
  // reduction's pivot search reads without touching the entries.
  uint32_t first = 0;
  // No entry has a larger magnitude: an upper bound that lets check_scale
  // pass most rows without reading them.
  uint32_t largest = 0;
};

#endif  // CRNINV_ALGEBRA_ROW_H_
