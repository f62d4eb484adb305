// A proof, where one is cheap, that a reduction cannot overflow.
//
// When every square submatrix of the stoichiometric part N has determinant
// -1, 0 or 1 (N is totally unimodular), so has [N | -I], and so has every
// matrix that exact elimination derives from it by pivoting on entries of
// magnitude 1: every entry on the way is -1, 0 or 1, whatever the order of
// the work. No overflow check can then fire, and the reduced rows, being the
// reduced row-echelon form, are the same for any choice of pivot rows.
#ifndef CRNINV_REDUCE_UNIMODULAR_H_
#define CRNINV_REDUCE_UNIMODULAR_H_

#include <cstdint>

#include "crninv/sparse_matrix.h"

namespace crninv {

// True only when a is proven totally unimodular. The test is sufficient, not necessary: after
// setting aside rows and columns with at most one nonzero entry and repeated rows and columns
// (which change no determinant's magnitude), what is left must have entries of magnitude 1 and at
// most two nonzero entries per column, or per row, with the two-colouring of Heller and Tompkins
// (1956): the lines can be split in two so that a pair of entries of one column (row) lies in the
// same part exactly when their signs differ. Nets whose transitions have at
// most one input and one output place, each arc of weight 1, pass, as do
// their transposes.
bool provably_unimodular(const SparseMatrix& a);

}  // namespace crninv

#endif  // CRNINV_REDUCE_UNIMODULAR_H_
