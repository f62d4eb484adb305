#include "covering/component_lp.h"

#include <glpk.h>

#include <cmath>
#include <memory>

#include "covering/exact_values.h"
#include "crninv/errors.h"

namespace crninv {

namespace {

// Simplex iterations between two calls of the monitor: each call costs
// the solver a new start (a factorization, its pricing weights), so they
// are few; a call may then come seconds apart.
constexpr int kIterationsPerCall = 20000;
// Integers a double holds exactly.
constexpr int64_t kExactDouble = int64_t{1} << 53;

using Program = std::unique_ptr<glp_prob, void (*)(glp_prob*)>;

// Rows: the component's columns, each == 0. Columns: t then s for each of
// the component's rows.
Program build(const SparseMatrix& by_column, const Component& component,
              const std::vector<uint32_t>& local) {
  Program lp(glp_create_prob(), glp_delete_prob);
  glp_set_obj_dir(lp.get(), GLP_MAX);
  int m = static_cast<int>(component.columns.size());
  int n = static_cast<int>(component.rows.size());
  glp_add_rows(lp.get(), m);
  glp_add_cols(lp.get(), 2 * n);
  for (int i = 1; i <= m; ++i) glp_set_row_bnds(lp.get(), i, GLP_FX, 0, 0);
  for (int k = 1; k <= n; ++k) {
    glp_set_col_bnds(lp.get(), k, GLP_DB, 0, 1);
    glp_set_obj_coef(lp.get(), k, 1);
    glp_set_col_bnds(lp.get(), n + k, GLP_LO, 0, 0);
  }
  std::vector<int> ia{0}, ja{0};
  std::vector<double> ar{0};
  for (int c = 0; c < m; ++c) {
    by_column.for_each_in_row(component.columns[c], [&](uint32_t i, int64_t v) {
      if (local[i] == UINT32_MAX) return;
      if (v >= kExactDouble || v <= -kExactDouble) {
        throw InvalidArgument("a coefficient past 2^53 does not fit the linear program");
      }
      for (int half = 0; half < 2; ++half) {
        ia.push_back(c + 1);
        ja.push_back(static_cast<int>(local[i]) + 1 + half * n);
        ar.push_back(static_cast<double>(v));
      }
    });
  }
  glp_load_matrix(lp.get(), static_cast<int>(ar.size() - 1), ia.data(), ja.data(), ar.data());
  return lp;
}

// Runs the floating simplex, then the exact one, a share of iterations at
// a time so that the monitor is told and may stop the work.
//
// The floating run is the dual simplex from t at its upper bound: that
// start is dual feasible (t's reduced cost is 1 at its upper bound, s's 0
// at its lower), while the primal start y = 0 is one vertex of the cone's
// apex where nearly every pivot is degenerate. The long-step ratio test
// passes t's bounds in one step. Measured on the shared networks, this is
// several times faster than the primal simplex on the largest programs
// (RERS2020-PT-pb103: 2.9 s against 32 s); GLPK's scaling did not help.
void solve(glp_prob* lp, Monitor& monitor) {
  int n = glp_get_num_cols(lp) / 2;
  for (int k = 1; k <= n; ++k) glp_set_col_stat(lp, k, GLP_NU);
  glp_smcp floating;
  glp_init_smcp(&floating);
  floating.msg_lev = GLP_MSG_OFF;
  floating.meth = GLP_DUALP;
  floating.r_test = GLP_RT_FLIP;
  floating.it_lim = kIterationsPerCall;
  int status;
  do {
    status = glp_simplex(lp, &floating);
    monitor.tick();
  } while (status == GLP_EITLIM);
  // Whatever the floating run left, the exact run starts from its basis
  // (or from the standard one when that basis is singular).
  glp_smcp exact;
  glp_init_smcp(&exact);
  exact.msg_lev = GLP_MSG_OFF;
  exact.it_lim = kIterationsPerCall;
  do {
    status = glp_exact(lp, &exact);
    if (status == GLP_EBADB || status == GLP_ESING) {
      glp_std_basis(lp);
      status = GLP_EITLIM;
    }
    monitor.tick();
  } while (status == GLP_EITLIM);
  if (status != 0 || glp_get_status(lp) != GLP_OPT) {
    throw Error("the exact simplex did not reach an optimum (GLPK status " +
                std::to_string(glp_get_status(lp)) + ")");
  }
}

}  // namespace

uint64_t program_bytes(uint64_t rows, uint64_t columns, uint64_t nonzeros) {
  return 400 * (rows + columns) + 200 * nonzeros;
}

std::vector<mpz_class> component_support(const SparseMatrix& a, const SparseMatrix& by_column,
                                         const Component& component, Monitor& monitor,
                                         uint64_t& held, uint64_t budget) {
  std::vector<uint32_t> local(a.rows, UINT32_MAX);
  uint64_t nonzeros = 0;
  for (uint32_t k = 0; k < component.rows.size(); ++k) {
    local[component.rows[k]] = k;
    nonzeros += a.start[component.rows[k] + 1] - a.start[component.rows[k]];
  }
  uint64_t bytes =
      program_bytes(component.columns.size(), 2 * component.rows.size(), 2 * nonzeros) +
      uint64_t{a.rows} * sizeof(uint32_t);
  if (held + bytes > budget) throw OutOfMemory();
  held += bytes;
  Program lp = build(by_column, component, local);
  solve(lp.get(), monitor);
  std::vector<mpz_class> y = exact_values(a, component, local, lp.get());
  held -= bytes;
  return y;
}

}  // namespace crninv
