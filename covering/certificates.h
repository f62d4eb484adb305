// Exact certificates read from a floating solution of the covering program
// (float_program.h), so that no floating result is taken on trust.
//
// The rows covered: y, with y_k = 1 + s_k where t_k > 1/2 and 0 elsewhere,
// each value read as the simplest fraction near it, scaled to integers and
// checked: y A = 0 exactly. The rows left uncovered: by Tucker's theorem
// of the alternative (Schrijver 1986, Theory of Linear and Integer
// Programming, 7.8) a row is on no semiflow exactly when some x has A x >=
// 0, positive on that row; the program's duals are such an x. They are
// read the same way and checked: (A x)_k of one sign on every row of the
// component, nonzero on each row y leaves at zero. For any semiflow y',
// y' A x = 0 is then a sum of terms of one sign, so y' is zero there too.
#ifndef CRNINV_COVERING_CERTIFICATES_H_
#define CRNINV_COVERING_CERTIFICATES_H_

#include <gmpxx.h>

#include <vector>

#include "base/monitor.h"
#include "covering/float_program.h"
#include "covering/presolve.h"
#include "crninv/sparse_matrix.h"

namespace crninv {

// y on component.rows, integers, positive exactly on the covered rows;
// false when either certificate cannot be read or fails its check.
bool read_certificates(const SparseMatrix& a, const Component& component,
                       const FloatSolution& solution, std::vector<mpz_class>& y, Monitor& monitor);

}  // namespace crninv

#endif  // CRNINV_COVERING_CERTIFICATES_H_
