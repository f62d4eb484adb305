// The largest siphon inside a set of species, on a SiphonGraph (so traps
// alike), and the workspace of the searches inside a set.
//
// Siphons are closed under union, so every set U holds a largest siphon:
// what remains of U once every species produced by a reaction with no
// input left in U is removed, again and again. It grows with U, which
// makes one pass of shrinking enough (see minimal_siphon.h).
#ifndef CRNINV_SIPHONS_LARGEST_SIPHON_H_
#define CRNINV_SIPHONS_LARGEST_SIPHON_H_

#include <cstdint>
#include <vector>

#include "siphons/siphon_graph.h"

namespace crninv {

// Scratch space for the searches, sized for one graph; all zero between
// calls.
struct SiphonWorkspace {
  explicit SiphonWorkspace(const SiphonGraph& graph)
      : inside(graph.species, 0), inputs_inside(graph.reactions, 0) {}
  std::vector<uint8_t> inside;          // by species
  std::vector<uint32_t> inputs_inside;  // by reaction: its inputs in the set
  std::vector<uint32_t> removed;        // species waiting to leave the set
  uint64_t bytes() const {
    return inside.size() + inputs_inside.size() * 4 + removed.capacity() * 4;
  }
};

// The largest siphon inside set (any order, no repeats), in ascending
// order; empty when there is none.
std::vector<uint32_t> largest_siphon(const SiphonGraph& graph, const std::vector<uint32_t>& set,
                                     SiphonWorkspace& work);

}  // namespace crninv

#endif  // CRNINV_SIPHONS_LARGEST_SIPHON_H_
