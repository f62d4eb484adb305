// The covering program of one component solved in floating point: CLP's
// dual simplex (Forrest and Goldfarb 1992; CLP, COIN-OR), which keeps its
// vectors sparse where GLPK's simplex passes over every row at each
// iteration. Nothing it returns is trusted: certificates.h reads exact
// certificates from it and checks them.
//
// The program (component_lp.h): maximise the sum of t over 0 <= t <= 1,
// s >= 0 with (t + s) A = 0 on the component's columns.
#ifndef CRNINV_COVERING_FLOAT_PROGRAM_H_
#define CRNINV_COVERING_FLOAT_PROGRAM_H_

#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "covering/presolve.h"
#include "crninv/sparse_matrix.h"

namespace crninv {

struct FloatSolution {
  bool optimal = false;
  std::vector<double> primal;  // t then s, one each per row of the component
  std::vector<double> duals;   // one per column of the component
  // The final basis, as GLPK's statuses (GLP_BS, GLP_NL, GLP_NU, GLP_NS):
  // the structural variables (t then s), then the program's rows.
  std::vector<int> column_status, row_status;
};

// local: a row's position in component.rows, UINT32_MAX outside it. The
// monitor is ticked at every iteration. Throws Cancelled.
FloatSolution solve_floating(const SparseMatrix& by_column, const Component& component,
                             const std::vector<uint32_t>& local, Monitor& monitor);

}  // namespace crninv

#endif  // CRNINV_COVERING_FLOAT_PROGRAM_H_
