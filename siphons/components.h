// Where minimal siphons can lie: the strongly connected components of the
// species graph (an arc from each input of a reaction to each of its
// outputs) inside the largest siphon of all species.
//
// A minimal siphon S lies inside one component: take a component C of the
// graph drawn on S alone that no arc of that graph enters. Every reaction
// that produces a species of C consumes one of S, which has an arc into C
// and so lies in C: C is a siphon, hence C = S, and S is strongly
// connected. (The same argument underlies the decomposition of Cordone,
// Ferrarini and Piroddi, 2005, "Enumeration algorithms for minimal siphons
// in Petri nets based on place constraints", IEEE Trans. SMC-A 35(6).)
// And every siphon lies inside the largest one. So the minimal siphons of
// a network are those of its components, each on its own graph
// (graph_inside).
#ifndef CRNINV_SIPHONS_COMPONENTS_H_
#define CRNINV_SIPHONS_COMPONENTS_H_

#include <cstdint>
#include <vector>

#include "siphons/largest_siphon.h"
#include "siphons/siphon_graph.h"

namespace crninv {

// The components, each in ascending order, ordered by their first species.
std::vector<std::vector<uint32_t>> siphon_components(const SiphonGraph& graph,
                                                     SiphonWorkspace& work);

}  // namespace crninv

#endif  // CRNINV_SIPHONS_COMPONENTS_H_
