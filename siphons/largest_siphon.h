// The largest siphon inside a set of species, and a minimal one inside a
// siphon, on a SiphonGraph (so traps alike).
//
// Siphons are closed under union, so every set U holds a largest siphon:
// what remains of U once every species produced by a reaction with no
// input left in U is removed, again and again. It grows with U, which
// makes one pass of shrinking enough (see minimal_inside).
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

// A siphon inside the siphon siphon (ascending) that holds its species
// first: first, then for each reaction that produces a species held and
// consumes none, the first of its inputs in siphon, until none is left.
// Most often far smaller than siphon, at a cost of its own arcs. The
// species come in the order they were taken in: each after one it keeps
// in the set.
std::vector<uint32_t> closure_inside(const SiphonGraph& graph, const std::vector<uint32_t>& siphon,
                                     SiphonWorkspace& work);

// A minimal nonempty siphon inside the nonempty siphon siphon (any
// order), in ascending order. The species are tried for removal in the
// order given; the order of closure_inside makes most tries short.
std::vector<uint32_t> minimal_inside(const SiphonGraph& graph, std::vector<uint32_t> siphon,
                                     SiphonWorkspace& work);

}  // namespace crninv

#endif  // CRNINV_SIPHONS_LARGEST_SIPHON_H_
