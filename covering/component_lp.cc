#include "covering/component_lp.h"

#include <glpk.h>

#include <memory>
#include <string>

#include "covering/certificates.h"
#include "covering/exact_values.h"
#include "covering/graph_support.h"
#include "crninv/errors.h"

namespace crninv {

namespace {

// Exact pivots between two calls of the monitor: each run starts with an
// exact factorization of the basis, so they are not many.
constexpr int kIterationsPerCall = 1000;
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
  // GLPK takes no empty addition (it would end the process).
  if (m > 0) glp_add_rows(lp.get(), m);
  if (n > 0) glp_add_cols(lp.get(), 2 * n);
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

void load_basis(glp_prob* lp, const FloatSolution& start) {
  for (size_t j = 0; j < start.column_status.size(); ++j)
    glp_set_col_stat(lp, static_cast<int>(j) + 1, start.column_status[j]);
  for (size_t i = 0; i < start.row_status.size(); ++i)
    glp_set_row_stat(lp, static_cast<int>(i) + 1, start.row_status[i]);
}

// The exact simplex, a share of pivots at a time so that the monitor is
// told and may stop the work.
void solve_exactly(glp_prob* lp, Monitor& monitor) {
  glp_smcp exact;
  glp_init_smcp(&exact);
  exact.msg_lev = GLP_MSG_OFF;
  exact.it_lim = kIterationsPerCall;
  int status;
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

void check_coefficients(const SparseMatrix& a, const Component& component) {
  for (uint32_t i : component.rows) {
    a.for_each_in_row(i, [&](uint32_t, int64_t v) {
      if (v >= kExactDouble || v <= -kExactDouble) {
        throw InvalidArgument("a coefficient past 2^53 does not fit the linear program");
      }
    });
  }
}

}  // namespace

uint64_t program_bytes(uint64_t rows, uint64_t columns, uint64_t nonzeros) {
  return 400 * (rows + columns) + 200 * nonzeros;
}

std::vector<mpz_class> exact_support(const SparseMatrix& a, const SparseMatrix& by_column,
                                     const Component& component, const std::vector<uint32_t>& local,
                                     const FloatSolution& start, Monitor& monitor) {
  // No constraint: every unknown is a semiflow (GLPK takes no program
  // without rows).
  if (component.columns.empty()) return std::vector<mpz_class>(component.rows.size(), 1);
  monitor.new_units();
  Program lp = build(by_column, component, local);
  load_basis(lp.get(), start);
  solve_exactly(lp.get(), monitor);
  return exact_values(a, component, local, lp.get());
}

std::vector<mpz_class> component_support(const SparseMatrix& a, const SparseMatrix& by_column,
                                         const Component& component, std::vector<uint32_t>& local,
                                         Monitor& monitor, uint64_t& held, uint64_t budget) {
  check_coefficients(a, component);
  uint64_t nonzeros = 0;
  for (uint32_t k = 0; k < component.rows.size(); ++k) {
    local[component.rows[k]] = k;
    nonzeros += a.start[component.rows[k] + 1] - a.start[component.rows[k]];
  }
  uint64_t bytes = program_bytes(component.columns.size(), 2 * component.rows.size(), 2 * nonzeros);
  struct Restore {
    const Component& component;
    std::vector<uint32_t>& local;
    ~Restore() {
      for (uint32_t i : component.rows) local[i] = UINT32_MAX;
    }
  } restore{component, local};
  if (held + bytes > budget) throw OutOfMemory();
  held += bytes;
  std::vector<mpz_class> y;
  if (graph_support(a, component, y, monitor)) {
    held -= bytes;
    return y;
  }
  FloatSolution solution = solve_floating(by_column, component, local, monitor);
  if (!read_certificates(a, component, solution, y, monitor)) {
    y = exact_support(a, by_column, component, local, solution, monitor);
  }
  held -= bytes;
  return y;
}

}  // namespace crninv
