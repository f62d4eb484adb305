// A sparse integer matrix, row by row (compressed sparse rows): what a wide
// reduction starts from, and starts again from one width up, and what the
// semiflows are computed on.
#ifndef CRNINV_ALGEBRA_SPARSE_MATRIX_H_
#define CRNINV_ALGEBRA_SPARSE_MATRIX_H_

#include <cstdint>
#include <vector>

class Row;

// The entries of row i are column[start[i] .. start[i + 1]) and value[...],
// in increasing column order, each nonzero.
struct SparseMatrix {
  uint32_t rows = 0;
  uint32_t columns = 0;
  std::vector<uint64_t> start{0};
  std::vector<uint32_t> column;
  std::vector<int32_t> value;

  // Appends a row whose entries were pushed into column and value since
  // the last call.
  void end_row() {
    start.push_back(column.size());
    ++rows;
  }
  // visit(column, value) for each entry of row i, in column order.
  template <typename Visit>
  void for_each_in_row(uint32_t i, Visit visit) const {
    for (uint64_t e = start[i]; e < start[i + 1]; ++e) visit(column[e], value[e]);
  }
};

// Columns [0, columns) of rows[0..count).
SparseMatrix sparse_from_rows(const Row* rows, uint32_t count, uint32_t columns);
SparseMatrix transposed(const SparseMatrix& a);

#endif  // CRNINV_ALGEBRA_SPARSE_MATRIX_H_
