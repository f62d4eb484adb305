// One SAT solver (CaDiCaL) over the siphons of a SiphonGraph, after the
// scheme of Nabli, Martinez, Fages and Soliman (2016, "On enumerating
// minimal siphons in Petri nets using CLP and SAT solvers: theoretical and
// practical complexity", Constraints 21:251-276): one Boolean per species,
// a clause per reaction and output saying that an output in the set brings
// an input into it, and a clause asking for a nonempty set. Each solution
// is shrunk to a minimal siphon (minimal_inside); the caller excludes it
// with all its supersets by a clause, so that each minimal siphon comes
// once and the solver ends unsatisfiable. Unit clauses confine a solver to
// a cube: the sets that hold some species and lack others.
#ifndef CRNINV_SIPHONS_SIPHON_SOLVER_H_
#define CRNINV_SIPHONS_SIPHON_SOLVER_H_

#include <atomic>
#include <cadical.hpp>
#include <cstdint>
#include <vector>

#include "siphons/largest_siphon.h"
#include "siphons/siphon_graph.h"

namespace crninv {

// The bytes that the clauses of several solvers may take together; past
// the limit OutOfMemory. Solvers on several threads share one.
class ClauseBudget {
 public:
  explicit ClauseBudget(uint64_t limit) : limit(limit) {}
  void take(uint64_t bytes);

 private:
  const uint64_t limit;
  std::atomic<uint64_t> held{0};
};

// Species in the set, or out of it.
struct CubeLiteral {
  uint32_t species;
  bool in;
};
using Cube = std::vector<CubeLiteral>;

class SiphonSolver {
 public:
  enum Result { kFound, kNoneLeft, kStopped };

  // The clauses of graph; graph and budget must outlive the solver.
  SiphonSolver(const SiphonGraph& graph, ClauseBudget& budget);
  SiphonSolver(const SiphonSolver&) = delete;
  SiphonSolver& operator=(const SiphonSolver&) = delete;
  ~SiphonSolver();

  // Keeps the solver to the sets on that side of the literal.
  void confine(CubeLiteral literal);
  // Excludes the set (any order) and every set that holds it.
  void exclude(const uint32_t* set, size_t size);
  // A minimal siphon inside a solution, ascending, into minimal; kStopped
  // when stop asked the solver to end first.
  Result next(CaDiCaL::Terminator& stop, std::vector<uint32_t>& minimal);

 private:
  void clause(const std::vector<int>& literals);
  void encode();

  const SiphonGraph& graph;
  ClauseBudget& budget;
  CaDiCaL::Solver solver;
  SiphonWorkspace work;
  std::vector<uint32_t> solution;
  std::vector<int> literals;
};

}  // namespace crninv

#endif  // CRNINV_SIPHONS_SIPHON_SOLVER_H_
