// Integer Gauss-Jordan elimination over an array of rows.
#ifndef CRNINV_ALGEBRA_REDUCE_H_
#define CRNINV_ALGEBRA_REDUCE_H_

#include <cstdint>

#include "algebra/row.h"

// Brings rows[0..count) to integer reduced row-echelon form over columns
// [0, n): each pivot column keeps one nonzero entry, positive, in its pivot
// row, and every row ends primitive. Pivots have the smallest magnitude in
// their column (ties to the lowest position). Rows change places by swap.
void reduce(Row* rows, uint32_t count, uint32_t n);

#endif  // CRNINV_ALGEBRA_REDUCE_H_
