#include "covering/float_program.h"

#include <glpk.h>

#include <ClpEventHandler.hpp>
#include <ClpSimplex.hpp>
#include <CoinMessageHandler.hpp>
#include <exception>

namespace crninv {

namespace {

// CLP says nothing: the library never prints, and a severe message must
// not abort the process.
class Silent : public CoinMessageHandler {
 public:
  int print() override { return 0; }
  void checkSeverity() override {}
  CoinMessageHandler* clone() const override { return new Silent(*this); }
};

// Ticks the monitor at every event: each iteration, each factorization. An exception (Cancelled)
// cannot pass through CLP's frames: it is kept, CLP is told to stop, and the caller throws it
// again.
class Ticker : public ClpEventHandler {
 public:
  Ticker(Monitor& monitor, std::exception_ptr& stopped) : monitor(monitor), stopped(stopped) {}
  int event(Event) override {
    try {
      monitor.tick();
    } catch (...) {
      stopped = std::current_exception();
      return 0;
    }
    return -1;
  }
  ClpEventHandler* clone() const override { return new Ticker(*this); }

 private:
  Monitor& monitor;
  std::exception_ptr& stopped;
};

// Columns t_k then s_k (same coefficients), rows the component's columns,
// each fixed at 0.
void load(ClpSimplex& model, const SparseMatrix& by_column, const Component& component,
          const std::vector<uint32_t>& local, Monitor& monitor) {
  monitor.new_units();
  int m = static_cast<int>(component.columns.size());
  int n = static_cast<int>(component.rows.size());
  std::vector<std::vector<std::pair<int, double>>> entries(n);
  for (int r = 0; r < m; ++r) {
    by_column.for_each_in_row(component.columns[r], [&](uint32_t i, int64_t v) {
      if (local[i] != UINT32_MAX) entries[local[i]].emplace_back(r, static_cast<double>(v));
    });
    monitor.tick();
  }
  std::vector<CoinBigIndex> start{0};
  std::vector<int> index;
  std::vector<double> value;
  for (int half = 0; half < 2; ++half) {
    for (int k = 0; k < n; ++k) {
      for (const auto& e : entries[k]) index.push_back(e.first), value.push_back(e.second);
      start.push_back(static_cast<CoinBigIndex>(index.size()));
      monitor.tick();
    }
  }
  std::vector<double> lower(2 * n, 0), upper(2 * n, COIN_DBL_MAX), objective(2 * n, 0);
  std::vector<double> zero(m, 0);
  for (int k = 0; k < n; ++k) upper[k] = 1, objective[k] = 1;
  model.loadProblem(2 * n, m, start.data(), index.data(), value.data(), lower.data(), upper.data(),
                    objective.data(), zero.data(), zero.data());
  model.setOptimizationDirection(-1);
}

int glpk_status(ClpSimplex::Status status, bool fixed) {
  switch (status) {
    case ClpSimplex::basic:
      return GLP_BS;
    case ClpSimplex::atUpperBound:
      return fixed ? GLP_NS : GLP_NU;
    case ClpSimplex::isFree:
    case ClpSimplex::superBasic:
      return GLP_NF;
    default:
      return fixed ? GLP_NS : GLP_NL;
  }
}

FloatSolution read(ClpSimplex& model) {
  FloatSolution s;
  s.optimal = model.status() == 0;
  int n = model.numberColumns(), m = model.numberRows();
  s.primal.assign(model.primalColumnSolution(), model.primalColumnSolution() + n);
  s.duals.assign(model.dualRowSolution(), model.dualRowSolution() + m);
  for (int j = 0; j < n; ++j)
    s.column_status.push_back(glpk_status(model.getColumnStatus(j), false));
  for (int i = 0; i < m; ++i) s.row_status.push_back(glpk_status(model.getRowStatus(i), true));
  return s;
}

}  // namespace

FloatSolution solve_floating(const SparseMatrix& by_column, const Component& component,
                             const std::vector<uint32_t>& local, Monitor& monitor) {
  Silent silent;
  ClpSimplex model;
  model.passInMessageHandler(&silent);
  model.setLogLevel(0);
  load(model, by_column, component, local, monitor);
  // A dual feasible start: t at its upper bound (reduced cost 1), s at 0.
  int n = static_cast<int>(component.rows.size());
  for (int k = 0; k < n; ++k) model.setColumnStatus(k, ClpSimplex::atUpperBound);
  // The program is highly degenerate (every vertex on y = 0 ties); CLP's
  // perturbation of the costs breaks the ties. Off by default in the
  // library, it made CANInsertWithFailure-PT-100's T side six times faster.
  model.setPerturbation(50);
  std::exception_ptr stopped;
  Ticker ticker(monitor, stopped);
  model.passInEventHandler(&ticker);
  monitor.new_units();
  model.dual();
  if (stopped) std::rethrow_exception(stopped);
  return read(model);
}

}  // namespace crninv
