// The minimal siphons of a SiphonGraph by SAT solvers (siphon_solver.h),
// on one thread or several.
//
// A solver starts on the whole space. When a thread waits for work and a
// solver has found enough sets for long enough (SatEnumeration), the
// space left to it is cut in two on a species held by about half of those
// sets: the solver keeps the side where the species is in, and another
// solver, on another thread, starts on the side where it is out, with the
// sets already found there excluded. This is cube-and-conquer (Heule,
// Kullmann, Wieringa and Biere, 2011, "Cube and conquer: guiding CDCL SAT
// solvers by lookaheads", HVC 2011), the cubes chosen from the solutions
// and made as threads fall idle. The sides share no siphon; a minimal
// siphon shrunk from one side's solution may lie on the other, and is then
// met twice and reported once. (Passing every set found to every solver
// whose side may hold it made no such meeting rarer on the shared nets,
// and on ServersAndClients-PT-100080 took 5.5 GB instead of 3.2.)
#ifndef CRNINV_SIPHONS_SAT_ENUMERATION_H_
#define CRNINV_SIPHONS_SAT_ENUMERATION_H_

#include <chrono>
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
  // A solver gives half its space away once it has found split_after sets
  // and run for split_time since it started or last did. Cutting costs
  // work: each side's solver proves its side empty, the new one without
  // what the old one learned (on Anderson-PT-11's siphons, two threads
  // took twice the time of one over an enumeration of 1.3 s). The time
  // keeps threads to the long enumerations, where they halve the time.
  uint64_t split_after = 1000;
  std::chrono::steady_clock::duration split_time = std::chrono::seconds(2);
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
