// The augmented matrix of the transposed network: one row per reaction, its
// net change of every species, then -1 in a block of its own. Its flows are
// the combinations of reactions with no net effect (T-flows).
#ifndef CRNINV_ALGEBRA_TRANSPOSE_H_
#define CRNINV_ALGEBRA_TRANSPOSE_H_

#include <cstdint>

#include "algebra/row.h"

// rows holds S species rows whose first R columns are the reactions (the
// augmented matrix [N | -I]); out receives R rows of S + R columns,
// [N^T | -I].
void transpose_augmented(const Row* rows, uint32_t S, uint32_t R, Row* out);

#endif  // CRNINV_ALGEBRA_TRANSPOSE_H_
