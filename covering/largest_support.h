// The largest support of the cone {y >= 0 : y A = 0} with y zero outside
// the allowed rows: the presolve, then one program per component, the
// pieces read back through the presolve's joins, summed into one semiflow
// and checked exactly against A.
#ifndef CRNINV_COVERING_LARGEST_SUPPORT_H_
#define CRNINV_COVERING_LARGEST_SUPPORT_H_

#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "crninv/covering.h"
#include "crninv/sparse_matrix.h"

namespace crninv {

// held: the memory account, against budget. Throws OutOfMemory, Cancelled,
// or Error should the certificate fail its check.
CoveredSet largest_support(const SparseMatrix& a, const std::vector<uint8_t>& allowed,
                           Monitor& monitor, uint64_t& held, uint64_t budget);

}  // namespace crninv

#endif  // CRNINV_COVERING_LARGEST_SUPPORT_H_
