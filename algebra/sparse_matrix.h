// A matrix as the nonzero entries of each row, in column order: what a
// wide reduction starts from, and starts again from one width up.
#ifndef CRNINV_ALGEBRA_SPARSE_MATRIX_H_
#define CRNINV_ALGEBRA_SPARSE_MATRIX_H_

#include <cstdint>
#include <utility>
#include <vector>

using SparseMatrix = std::vector<std::vector<std::pair<uint32_t, int32_t>>>;

#endif  // CRNINV_ALGEBRA_SPARSE_MATRIX_H_
