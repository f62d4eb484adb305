// A basis of the left kernel {y : y^T A = 0} of an integer matrix, in the
// form that the double description method starts from (the "nullspace
// approach" of Wagner 2004 and Urbanczik & Wagner 2005, used by Terzer &
// Stelling 2008): each basis vector owns one coordinate where no other is
// nonzero, and is positive there. With z the weights of the basis vectors,
// the constraints y >= 0 on the owned coordinates are just z >= 0, an
// orthant whose extreme rays are the basis vectors themselves; only the
// other coordinates remain to be made non-negative.
#ifndef CRNINV_SEMIFLOWS_KERNEL_H_
#define CRNINV_SEMIFLOWS_KERNEL_H_

#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "rows/sparse_vector.h"
#include "semiflows/semiflows.h"

namespace crninv {

template <typename Int>
struct KernelBasis {
  // Vectors of length a.rows, each primitive.
  VectorSet<Int> vectors;
  // owned[k]: the coordinate of vectors[k] that no other vector has.
  std::vector<uint32_t> owned;
};

// By fraction-free Gaussian elimination on [A | I], column by column of A,
// the column with the fewest nonzero rows first and within it the sparsest
// row as the pivot (a Markowitz-like choice that keeps the fill low). Each
// pivot row is dropped once used, so the rows that are never pivots end with
// a zero A part, and each still holds its own identity coordinate, which
// only pivot rows were ever added to: that coordinate is the one it owns.
// Int = int64_t throws WidthExceeded when a value would not fit. Each
// elimination is a tick of monitor, each column a heavy one.
template <typename Int>
KernelBasis<Int> left_kernel(const SparseMatrix& a, Monitor& monitor);

extern template KernelBasis<int64_t> left_kernel(const SparseMatrix&, Monitor&);
extern template KernelBasis<mpz_class> left_kernel(const SparseMatrix&, Monitor&);

}  // namespace crninv

#endif  // CRNINV_SEMIFLOWS_KERNEL_H_
