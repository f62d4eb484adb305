// The largest support of a cone {y >= 0 : y A = 0} on one component, by
// one linear program (Freund, Roundy and Todd 1985, "Identifying the set
// of always-active constraints in a system of linear inequalities by a
// single linear program"): maximise the sum of t over 0 <= t <= 1, s >= 0
// with (t + s) A = 0, so that y = t + s. The cone is closed under addition
// and scaling, so some semiflow is at least 1 wherever any semiflow is
// positive: the optimum is the number of unknowns covered, and every
// optimal t is 1 on them and 0 elsewhere.
//
// A component whose rows are all arcs is decided by its strongly connected
// parts instead (graph_support.h). Otherwise
// CLP solves it in floating point (float_program.h) and the certificates
// are read from its solution and checked exactly (certificates.h). Should
// that fail, GLPK's exact rational simplex (glp_exact) starts from CLP's
// basis and proves it optimal or moves it until it is; the monitor is then
// told between its runs of a thousand pivots, and an exact factorization
// of a large basis may keep it waiting longer than a tenth of a second.
#ifndef CRNINV_COVERING_COMPONENT_LP_H_
#define CRNINV_COVERING_COMPONENT_LP_H_

#include <gmpxx.h>

#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "covering/float_program.h"
#include "covering/presolve.h"
#include "crninv/sparse_matrix.h"

namespace crninv {

// y on the component's rows (component.rows order): integers, positive
// exactly on the covered rows, with y A = 0 on the component's columns.
// local: a workspace of a.rows entries, each UINT32_MAX, left so. held:
// the memory account, which the program's size joins while it is solved,
// against budget.
std::vector<mpz_class> component_support(const SparseMatrix& a, const SparseMatrix& by_column,
                                         const Component& component, std::vector<uint32_t>& local,
                                         Monitor& monitor, uint64_t& held, uint64_t budget);

// GLPK's exact simplex from the basis of start (or GLPK's standard basis
// when it is singular), and y read from it as component_support returns
// it. The fallback, on its own for the tests.
std::vector<mpz_class> exact_support(const SparseMatrix& a, const SparseMatrix& by_column,
                                     const Component& component, const std::vector<uint32_t>& local,
                                     const FloatSolution& start, Monitor& monitor);

// Bytes the solvers hold for a program of these dimensions, roughly, with
// the exact simplex's rational factors.
uint64_t program_bytes(uint64_t rows, uint64_t columns, uint64_t nonzeros);

}  // namespace crninv

#endif  // CRNINV_COVERING_COMPONENT_LP_H_
