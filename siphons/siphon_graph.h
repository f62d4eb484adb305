// The species-reaction graph as the siphon condition reads it, oriented for
// siphons or for traps: a trap of the network is a siphon of the network
// with every reaction's sides swapped, so the enumeration sees only
// "inputs" and "outputs".
#ifndef CRNINV_SIPHONS_SIPHON_GRAPH_H_
#define CRNINV_SIPHONS_SIPHON_GRAPH_H_

#include <cstdint>
#include <vector>

#include "crninv/network.h"
#include "crninv/siphons.h"

namespace crninv {

// Adjacency lists in compressed form: list i is item[start[i] .. start[i + 1]).
struct Lists {
  std::vector<uint64_t> start{0};
  std::vector<uint32_t> item;
  const uint32_t* begin(uint32_t i) const { return item.data() + start[i]; }
  const uint32_t* end(uint32_t i) const { return item.data() + start[i + 1]; }
  uint64_t size(uint32_t i) const { return start[i + 1] - start[i]; }
};

struct SiphonGraph {
  uint32_t species = 0, reactions = 0;
  // For a siphon: inputs of a reaction are the species it consumes, outputs
  // those it produces; for a trap the other way round. Each list holds a
  // species once, in ascending order.
  Lists inputs, outputs;
  // The reactions of which a species is an input, and an output.
  Lists input_of, output_of;

  uint64_t bytes() const;
};

SiphonGraph siphon_graph(const Network& network, SiphonOptions::Kind kind);

// The graph of the siphons inside species (ascending, nonempty): its
// species i is species[i]; its reactions are those that produce one of
// them, in their order, with their inputs and outputs among them. A set of
// its species is a siphon exactly when the set it stands for is one of
// graph. local: a number by species of graph, all UINT32_MAX, as it is
// left.
SiphonGraph graph_inside(const SiphonGraph& graph, const std::vector<uint32_t>& species,
                         std::vector<uint32_t>& local);

}  // namespace crninv

#endif  // CRNINV_SIPHONS_SIPHON_GRAPH_H_
