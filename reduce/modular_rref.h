// The reduced row-echelon form of an augmented matrix [A | -I] by
// arithmetic modulo primes below 2^31, rebuilt by the Chinese remainder
// theorem: for matrices whose numbers grow far beyond 128 bits, where every
// step of an exact elimination would work on long integers.
//
// For each prime p: the reduced form modulo p, its pivot columns, and the
// determinant d of the matrix's pivot columns. d times the reduced form is
// an integer matrix (its entries are minors of the matrix), the same for
// every prime; its residues are combined (Garner's method) until one more
// prime changes none of them. The candidate, each row made primitive with a
// positive leading entry, is then checked exactly: it has the reduced form's
// shape, and each row is the combination of the matrix's rows that its -I
// block names. Rows of the row space in that shape, as many as the rows,
// are the reduced form itself. A prime that divides a minor the form
// depends on gives later pivot columns, and is set aside.
#ifndef CRNINV_REDUCE_MODULAR_RREF_H_
#define CRNINV_REDUCE_MODULAR_RREF_H_

#include <cstdint>
#include <memory>

#include "base/monitor.h"
#include "crninv/sparse_matrix.h"
#include "rows/wide_row.h"

namespace crninv {

// The reduced rows of m, whose n columns end with -I (one column per row),
// in the order of their pivot columns; null when no result could be
// checked within the primes tried (then an exact reduction must do).
std::unique_ptr<WideRow<mpz_class>[]> modular_reduce(const SparseMatrix& m, uint32_t n,
                                                     Monitor& monitor);

}  // namespace crninv

#endif  // CRNINV_REDUCE_MODULAR_RREF_H_
