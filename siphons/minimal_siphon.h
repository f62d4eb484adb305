// A minimal siphon inside a siphon, on a SiphonGraph (so traps alike).
//
// First a small siphon grown from one species of the given one, then one
// pass of removals: when S - {s} holds no nonempty siphon, no smaller
// siphon than S does either (the largest siphon inside a set grows with
// it), so a species that cannot go once never can.
#ifndef CRNINV_SIPHONS_MINIMAL_SIPHON_H_
#define CRNINV_SIPHONS_MINIMAL_SIPHON_H_

#include <cstdint>
#include <vector>

#include "siphons/largest_siphon.h"
#include "siphons/siphon_graph.h"

namespace crninv {

// A minimal nonempty siphon inside the nonempty siphon siphon (any order,
// no repeats), in ascending order. work is all zero before and after.
std::vector<uint32_t> minimal_inside(const SiphonGraph& graph, const std::vector<uint32_t>& siphon,
                                     SiphonWorkspace& work);

}  // namespace crninv

#endif  // CRNINV_SIPHONS_MINIMAL_SIPHON_H_
