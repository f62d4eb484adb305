// The minimal siphons of a SiphonGraph by a SAT solver (CaDiCaL), after
// the scheme of Nabli, Martinez, Fages and Soliman (2016, "On enumerating
// minimal siphons in Petri nets using CLP and SAT solvers: theoretical and
// practical complexity", Constraints 21:251-276): one Boolean per species,
// a clause per reaction and output saying that an output in the set brings
// an input into it, and a clause asking for a nonempty set. Each solution
// is shrunk to a minimal siphon (minimal_inside), reported, and excluded
// with all its supersets by a clause, so that each minimal siphon comes
// exactly once and the solver ends unsatisfiable.
#ifndef CRNINV_SIPHONS_SAT_ENUMERATION_H_
#define CRNINV_SIPHONS_SAT_ENUMERATION_H_

#include <cstdint>
#include <functional>
#include <vector>

#include "base/monitor.h"
#include "siphons/siphon_graph.h"

namespace crninv {

// found(set) is called with each minimal siphon; it may throw to stop.
// budget: bytes the solver's clauses may take; past it OutOfMemory.
void enumerate_by_sat(const SiphonGraph& graph, uint64_t budget, Monitor& monitor,
                      const std::function<void(const std::vector<uint32_t>&)>& found);

}  // namespace crninv

#endif  // CRNINV_SIPHONS_SAT_ENUMERATION_H_
