// The largest support of a cone {y >= 0 : y A = 0} on one component, by
// one linear program: maximise the sum of t over 0 <= t <= 1, s >= 0 with
// (t + s) A = 0, so that y = t + s. The cone is closed under addition and
// scaling, so some semiflow is at least 1 wherever any semiflow is
// positive: the optimum is the number of unknowns covered, and every
// optimal t is 1 on them and 0 elsewhere, which names them without
// rounding. GLPK solves it in floating point, then its exact rational
// simplex (glp_exact) proves the basis optimal or moves it until it is.
#ifndef CRNINV_COVERING_COMPONENT_LP_H_
#define CRNINV_COVERING_COMPONENT_LP_H_

#include <gmpxx.h>

#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "covering/presolve.h"
#include "crninv/sparse_matrix.h"

namespace crninv {

// y on the component's rows (component.rows order): integers, positive
// exactly on the covered rows, with y A = 0 on the component's columns.
// held: the memory account, which the program's size joins while it is
// solved, against budget.
std::vector<mpz_class> component_support(const SparseMatrix& a, const SparseMatrix& by_column,
                                         const Component& component, Monitor& monitor,
                                         uint64_t& held, uint64_t budget);

// Bytes GLPK holds for a program of these dimensions, roughly, with the
// exact simplex's rational factors.
uint64_t program_bytes(uint64_t rows, uint64_t columns, uint64_t nonzeros);

}  // namespace crninv

#endif  // CRNINV_COVERING_COMPONENT_LP_H_
