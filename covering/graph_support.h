// The exact shortcut for a component whose every row is an arc: two
// entries, +c in one column and -c in another (the T-side of a state
// machine, where each reaction takes one token from one place and puts it
// in another; the P-side of a marked graph). The cone is then the
// circulations of the directed graph on the columns (an arc tail -> head
// for each row), and a row is covered exactly when its arc lies in a
// strongly connected part (Tarjan 1972, SIAM J. Comput. 1:146-160), with
// no linear program.
//
// The semiflow: in each strongly connected part, one closed walk through
// each arc (root to its tail along a tree of paths out of the root, the
// arc, its head back to the root along a tree of paths into it), summed,
// each arc weighed by L / c (L the lcm of the part's c). The rows left
// uncovered, proved so: x on the columns, the part's place in a
// topological order of the parts, gives each arc between parts a positive
// (A x) and each arc inside one zero (the Tucker alternative of
// certificates.h). Both are checked exactly.
#ifndef CRNINV_COVERING_GRAPH_SUPPORT_H_
#define CRNINV_COVERING_GRAPH_SUPPORT_H_

#include <gmpxx.h>

#include <vector>

#include "base/monitor.h"
#include "covering/presolve.h"
#include "crninv/sparse_matrix.h"

namespace crninv {

// y on component.rows as component_support gives it; false when some row
// is not an arc (nothing is then decided).
bool graph_support(const SparseMatrix& a, const Component& component, std::vector<mpz_class>& y,
                   Monitor& monitor);

}  // namespace crninv

#endif  // CRNINV_COVERING_GRAPH_SUPPORT_H_
