// The minimal siphons of a SiphonGraph by SAT solvers (siphon_solver.h),
// on one thread or several.
//
// A solver starts on the whole space. When a thread waits for work and a
// solver has found split_after sets since it started or last split, the
// space left to it is cut in two on a species held by about half of those
// sets: the solver keeps the side where the species is in, and another
// solver, on another thread, starts on the side where it is out, with the
// sets already found there excluded. This is cube-and-conquer (Heule,
// Kullmann, Wieringa and Biere, 2011, "Cube and conquer: guiding CDCL SAT
// solvers by lookaheads", HVC 2011), the cubes chosen from the solutions
// and made as threads fall idle. The sides share no siphon; a minimal
// siphon shrunk from one side's solution may lie on the other, and is then
// met twice and reported once.
#ifndef CRNINV_SIPHONS_SAT_ENUMERATION_H_
#define CRNINV_SIPHONS_SAT_ENUMERATION_H_

#include <cstdint>
#include <functional>
#include <vector>

#include "base/monitor.h"
#include "siphons/siphon_graph.h"

namespace crninv {

struct SatEnumeration {
  // Bytes the solvers' clauses may take together; past it OutOfMemory.
  uint64_t budget = UINT64_MAX;
  // Solvers at work at once, at least 1.
  unsigned threads = 1;
  // Sets a solver finds before it gives half its space away.
  uint64_t split_after = 1000;
};

// Every minimal siphon of graph once, ascending each, in no fixed order.
// kept(set) is called with each as it is found, one call at a time (on any
// of the threads); it may throw to stop the enumeration, and the exception
// reaches the caller. The monitor is called on the caller's thread only.
std::vector<std::vector<uint32_t>> enumerate_by_sat(
    const SiphonGraph& graph, const SatEnumeration& how, Monitor& monitor,
    const std::function<void(const std::vector<uint32_t>&)>& kept);

}  // namespace crninv

#endif  // CRNINV_SIPHONS_SAT_ENUMERATION_H_
