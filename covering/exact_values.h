// The exact semiflow behind a solution of the covering program, and the
// exact helpers that the certificates share.
//
// GLPK's exact simplex computes in rationals but hands its values out as
// doubles. The values are read back as the simplest fractions within a
// double's precision, scaled to integers and checked exactly; where the
// check fails (a denominator too large for a double to name), the basic
// variables are solved anew from the final basis in rationals.
#ifndef CRNINV_COVERING_EXACT_VALUES_H_
#define CRNINV_COVERING_EXACT_VALUES_H_

#include <glpk.h>
#include <gmpxx.h>

#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "covering/presolve.h"
#include "crninv/sparse_matrix.h"

namespace crninv {

// y on component.rows: integers, zero where t is 0, with y A = 0 on the
// component's columns. local: a row's position in component.rows.
std::vector<mpz_class> exact_values(const SparseMatrix& a, const Component& component,
                                    const std::vector<uint32_t>& local, glp_prob* lp);

// The simplest fraction within a relative 2^-40 of x (denominators up to
// 2^24), or false.
bool simplest_fraction(double x, mpq_class& q);

// Whether y (on component.rows) is a semiflow of the component: y A = 0.
// monitor, when given, is ticked at each row.
bool in_kernel(const SparseMatrix& a, const Component& component, const std::vector<mpz_class>& y,
               Monitor* monitor = nullptr);

// Fractions to integers over their common denominator.
std::vector<mpz_class> scaled(const std::vector<mpq_class>& values);

}  // namespace crninv

#endif  // CRNINV_COVERING_EXACT_VALUES_H_
