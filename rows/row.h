// One row of the augmented matrix of the specified reduction: a
// fixed-length run of signed 32-bit entries that owns its storage. Rows are
// never copied; they change places only by swap().
//
// The rows of a reaction network hold a handful of nonzero entries among
// tens of thousands of columns, and while a reduction runs a few of them
// hold thousands. A row therefore takes one of two forms, and changes form
// when its count of nonzero entries crosses a threshold:
//  - sparse: the nonzero entries alone (sparse_vector.h);
//  - dense: every entry, in blocks with a bitmap of those that hold a
//    nonzero (block_store.h), so that every pass skips the zero blocks.
// Every operation reads and writes the entries' true values; how they are
// held is this class's own business.
//
// A row may hold its entries negated (flipped): normalize then makes the
// first entry positive by flipping a flag, and an elimination whose
// multiplier for this row is 1 or -1 writes only where the pivot is
// nonzero. Its cost then follows the pivot, not the row.
//
// Every overflow throws WidthExceeded with the message of the run:
// "integer overflow on multiply" for a product, "Integer overflow on
// addition" for a sum.
#ifndef CRNINV_ROWS_ROW_H_
#define CRNINV_ROWS_ROW_H_

#include <cstdint>
#include <vector>

#include "rows/block_store.h"
#include "rows/sparse_vector.h"

namespace crninv {

class Row {
 public:
  static constexpr uint32_t kBlock = BlockStore<int32_t>::kBlock;
  static constexpr uint32_t kNone = UINT32_MAX;

  // What eliminate writes into before the row takes the result, so that
  // the row's arrays need room for the result alone, not for both inputs.
  struct Workspace {
    AccountedVector<uint32_t> columns;
    AccountedVector<int32_t> values;
    std::vector<uint32_t> at;  // where a pivot's entries fall in the row
  };

  Row() = default;
  Row(const Row&) = delete;
  Row& operator=(const Row&) = delete;

  // Discards the entries and makes n zero entries.
  void resize(uint32_t n);
  uint32_t length() const { return size; }
  // Columns at or past the end read as 0.
  int32_t get(uint32_t column) const;
  // Adds value at column; ignored past the end. A sum outside the 32-bit
  // range throws like any other overflow.
  void add(uint32_t column, int32_t value);
  // Appends a nonzero entry after the last nonzero one.
  void append(uint32_t column, int32_t value);
  // Makes the n entries given (columns increasing, values nonzero) the
  // row's, in the form that suits them. A value past 32 bits throws.
  void assign(const uint32_t* columns, const int64_t* values, uint32_t n);
  void swap(Row& other);

  uint32_t nonzeros() const { return count; }
  bool is_dense() const { return dense.allocated(); }
  // The first column at or after column whose entry is nonzero, or kNone.
  uint32_t next_nonzero(uint32_t column) const;
  // Calls visit(column, value) for every nonzero entry, in column order.
  template <typename Visit>
  void for_each_nonzero(Visit visit) const;

  // Throws unless every entry times factor has a magnitude of at most
  // 2147483647. Changes no entry.
  void check_scale(int32_t factor) const;
  // Divides out the common factor of the entries and makes the first
  // nonzero entry positive. An all-zero row is left as it is.
  void normalize();
  // Replaces this row by c * this + b * pivot with the cancelling
  // multipliers of the two entries at column, so that the column becomes
  // 0, then normalizes. Does nothing when either row is 0 there (or the
  // column is past the end).
  void eliminate(uint32_t column, const Row& pivot, Workspace& work);

  // Takes the form that suits the count of nonzero entries.
  void fit_form();

 private:
  // The true value of a stored one.
  int32_t true_value(int32_t stored) const { return flipped ? -stored : stored; }

  // Storage and forms (row.cc).
  void release();
  // Room for n sparse entries.
  void reserve(uint32_t n);
  // Takes n entries as the sparse form's.
  void assign_sparse(const uint32_t* new_columns, const int32_t* new_values, uint32_t n);
  uint32_t find(uint32_t column) const;  // sparse: index of the first column >= column
  void become_dense();
  void become_sparse();
  // Makes the stored values the true ones.
  void unflip();
  uint32_t exact_largest() const;

  // Arithmetic (row_arith.cc).
  uint32_t common_factor() const;
  int32_t first_value() const;

  // Combinations (row_combine.cc): this = c * this + b * pivot over
  // columns [0, size).
  // c is 1 or -1 and no sum can leave [-2147483647, 2147483647]: writes
  // only where the pivot is nonzero.
  void combine_unit(int32_t c, int32_t b, const Row& pivot, Workspace& work);
  // Any c; the products are known to fit, each sum is checked.
  void combine_general(int32_t c, int32_t b, const Row& pivot, Workspace& work);
  // The kernels of combine_unit, one per form of the pivot; this row is
  // dense whenever the pivot is. stored += k * the pivot's stored values.
  void add_sparse_to_sparse(int32_t k, const Row& pivot, Workspace& work);
  // The first n entries of the pivot added in place; false, and nothing
  // changed, when one of them would make or cancel an entry.
  bool add_in_place(int32_t k, const Row& pivot, uint32_t n, Workspace& work);
  void add_sparse_to_dense(int32_t k, const Row& pivot);
  template <int kSign>
  void add_dense_to_dense(int32_t k, const Row& pivot);

  // Sparse form (dense not allocated): the nonzero entries, stored, in
  // column order.
  SparseVector<int32_t> sparse;
  // Dense form: size entries.
  BlockStore<int32_t> dense;

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
void Row::for_each_nonzero(Visit visit) const {
  if (!dense.allocated()) {
    for (uint32_t i = 0; i < count; ++i) visit(sparse.index[i], true_value(sparse.value[i]));
    return;
  }
  dense.for_each_nonzero([&](uint32_t k, int32_t stored) { visit(k, true_value(stored)); });
}

// Whether a's entry at column is smaller in magnitude than b's: -1, 0, 1.
int compare_magnitudes(const Row& a, const Row& b, uint32_t column);

}  // namespace crninv

#endif  // CRNINV_ROWS_ROW_H_
