// Rows of any kind made from the rows of a sparse matrix: where every
// reduction and every elimination starts from.
#ifndef CRNINV_ROWS_FROM_MATRIX_H_
#define CRNINV_ROWS_FROM_MATRIX_H_

#include <cstdint>
#include <memory>

#include "crninv/sparse_matrix.h"
#include "rows/row.h"
#include "rows/wide_row.h"

namespace crninv {

// The augmented matrix [A | -I]: row i of A, then -1 in a column of its own.
SparseMatrix augmented(const SparseMatrix& a);

// One row per row of m, of m's length. A value that the row's integers
// cannot hold throws WidthExceeded.
std::unique_ptr<Row[]> rows_from(const SparseMatrix& m, Row* /*kind*/);
template <typename T>
std::unique_ptr<WideRow<T>[]> rows_from(const SparseMatrix& m, WideRow<T>* /*kind*/) {
  std::unique_ptr<WideRow<T>[]> rows(new WideRow<T>[m.rows]);
  for (uint32_t k = 0; k < m.rows; ++k) {
    rows[k].resize(m.columns);
    m.for_each_in_row(k, [&](uint32_t j, int64_t v) { rows[k].append(j, Exact<T>::from(v)); });
  }
  return rows;
}

template <typename RowType>
std::unique_ptr<RowType[]> rows_from(const SparseMatrix& m) {
  return rows_from(m, static_cast<RowType*>(nullptr));
}

}  // namespace crninv

#endif  // CRNINV_ROWS_FROM_MATRIX_H_
