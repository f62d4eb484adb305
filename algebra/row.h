// One row of the augmented matrix: a fixed-length run of signed 32-bit
// entries that owns its storage. Rows are never copied; they change places
// only by swap().
//
// The rows of a reaction network hold a handful of nonzero entries among
// tens of thousands of columns, and while a reduction runs a few of them
// hold thousands. A row therefore takes one of two forms, and changes form
// when its count of nonzero entries crosses a threshold:
//  - sparse: the nonzero entries alone, in column order (columns, values);
//  - dense: every entry, with a bitmap of the blocks of kBlock entries that
//    hold a nonzero, so that every pass skips the zero blocks.
// Every operation reads and writes the entries' true values; how they are
// held is this class's own business.
//
// A row may hold its entries negated (flipped): normalize then makes the
// first entry positive by flipping a flag, and an elimination whose
// multiplier for this row is 1 or -1 writes only where the pivot is
// nonzero. Its cost then follows the pivot, not the row.
#ifndef CRNINV_ALGEBRA_ROW_H_
#define CRNINV_ALGEBRA_ROW_H_

#include <cstdint>

class Row {
 public:
  // Entries per bitmap bit in the dense form.
  static constexpr uint32_t kBlock = 16;
  static constexpr uint32_t kNone = UINT32_MAX;

  Row() = default;
  ~Row();
  Row(const Row&) = delete;
  Row& operator=(const Row&) = delete;

  // Discards the entries and makes n zero entries.
  void resize(uint32_t n);
  uint32_t length() const { return size; }
  // Columns at or past the end read as 0.
  int32_t get(uint32_t column) const;
  // Adds value at column; ignored past the end. A sum outside the 32-bit
  // range ends the process like any other overflow.
  void add(uint32_t column, int32_t value);
  void swap(Row& other);

  uint32_t nonzeros() const { return count; }
  bool is_dense() const { return data != nullptr; }
  // The first column at or after column whose entry is nonzero, or kNone.
  uint32_t next_nonzero(uint32_t column) const;
  // Calls visit(column, value) for every nonzero entry, in column order.
  template <typename Visit>
  void for_each_nonzero(Visit visit) const;

  // Ends the process unless every entry times factor has a magnitude of at
  // most 2147483647. Changes no entry.
  void check_scale(int32_t factor) const;
  // Divides out the common factor of the entries and makes the first
  // nonzero entry positive. An all-zero row is left as it is.
  void normalize();
  // Replaces this row by c * this + b * pivot with c, b chosen from the
  // least common multiple so that the column becomes 0, then normalizes.
  // Does nothing when either row is 0 there (or the column is past the
  // end).
  void eliminate(uint32_t column, const Row& pivot);

 private:
  // The true value of a stored one.
  int32_t true_value(int32_t stored) const { return flipped ? -stored : stored; }

  // Storage and forms (row.cc).
  void release();
  void reserve(uint32_t n);
  // Takes n entries as the sparse form's, into arrays that fit them.
  void assign_sparse(const uint32_t* new_columns, const int32_t* new_values, uint32_t n);
  uint32_t find(uint32_t column) const;  // sparse: index of the first column >= column
  void become_dense();
  void become_sparse();
  // Takes the form that suits the count of nonzero entries.
  void fit_form();
  // The nonzero entries of the dense form, counted.
  uint32_t dense_nonzeros() const;
  // Makes the stored values the true ones.
  void unflip();
  uint32_t exact_largest() const;
  uint32_t words() const { return (size + kBlock * 64 - 1) / (kBlock * 64); }
  bool block_bit(uint32_t block) const { return (blocks[block / 64] >> (block % 64)) & 1; }
  void set_block_bit(uint32_t block, bool nonzero);
  // Sets the block's bit when it holds a nonzero entry, else clears it.
  void refresh_block_bit(uint32_t block);
  // Calls visit(start) with the first column of every block of the dense
  // form that holds a nonzero entry, in order, until visit returns false.
  template <typename Visit>
  void for_each_block(Visit visit) const;

  // Arithmetic (row_arith.cc).
  uint32_t common_factor() const;
  int32_t first_value() const;

  // Combinations (row_combine.cc): this = c * this + b * pivot over
  // columns [0, size).
  // c is 1 or -1 and no sum can leave [-2147483647, 2147483647]: writes
  // only where the pivot is nonzero.
  void combine_unit(int32_t c, int32_t b, const Row& pivot);
  // Any c; the products are known to fit, each sum is checked.
  void combine_general(int32_t c, int32_t b, const Row& pivot);
  // The kernels of combine_unit, one per form of the pivot; this row is
  // dense whenever the pivot is. stored += k * the pivot's stored values.
  void add_sparse_to_sparse(int32_t k, const Row& pivot);
  // The first n entries of the pivot added in place; false, and nothing
  // changed, when one of them would make or cancel an entry.
  bool add_in_place(int32_t k, const Row& pivot, uint32_t n);
  void add_sparse_to_dense(int32_t k, const Row& pivot);
  template <int kSign>
  void add_dense_to_dense(int32_t k, const Row& pivot);

  // Sparse form (data null): the nonzero entries, stored, in column order.
  uint32_t* columns = nullptr;
  int32_t* values = nullptr;
  uint32_t capacity = 0;
  // Dense form: size entries padded with zeros to whole blocks, and one bit
  // per block, set exactly when the block holds a nonzero entry.
  int32_t* data = nullptr;
  uint64_t* blocks = nullptr;

  uint32_t size = 0;
  uint32_t count = 0;  // nonzero entries
  // No entry has a larger magnitude: an upper bound that lets check_scale
  // and the eliminations pass most rows without reading them.
  mutable uint32_t largest = 0;
  // The entries are the negated stored values. A row that holds
  // -2147483648 is never flipped, as its negation has no 32-bit value.
  bool flipped = false;
};

template <typename Visit>
void Row::for_each_block(Visit visit) const {
  for (uint32_t w = 0, n = words(); w < n; ++w) {
    for (uint64_t bits = blocks[w]; bits != 0; bits &= bits - 1) {
      if (!visit((w * 64 + static_cast<uint32_t>(__builtin_ctzll(bits))) * kBlock)) return;
    }
  }
}

template <typename Visit>
void Row::for_each_nonzero(Visit visit) const {
  if (data == nullptr) {
    for (uint32_t i = 0; i < count; ++i) visit(columns[i], true_value(values[i]));
    return;
  }
  for_each_block([&](uint32_t start) {
    for (uint32_t k = start; k < start + kBlock; ++k) {
      if (data[k] != 0) visit(k, true_value(data[k]));
    }
    return true;
  });
}

#endif  // CRNINV_ALGEBRA_ROW_H_
