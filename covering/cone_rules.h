// Exact rules that shrink the cone {y >= 0 : y A = 0} before any linear
// program, each keeping the covered rows what they were (and a semiflow of
// what is left read back as one of A, positive where it was):
//
// - a column whose entries have one sign forces their unknowns to zero;
// - a column with two entries of opposite signs, a y_i + c y_k = 0, fixes
//   the ratio of y_i to y_k in every semiflow: the two join into one
//   unknown (Andersen and Andersen 1995, Math. Programming 71:221-245,
//   the doubleton equation);
// - rows that are positive multiples of one another join: a semiflow
//   positive on one is turned into one positive on both by sharing its
//   weight;
// - a column that repeats another up to a factor states no new
//   constraint: it goes.
//
// The rules run until none applies. Where joining would make a coefficient
// pass 2^53 the join is not made.
#ifndef CRNINV_COVERING_CONE_RULES_H_
#define CRNINV_COVERING_CONE_RULES_H_

#include "base/monitor.h"
#include "covering/cone_rows.h"

namespace crninv {

void simplify(ConeRows& cone, Monitor& monitor);

}  // namespace crninv

#endif  // CRNINV_COVERING_CONE_RULES_H_
