// The reaction graph: complexes as nodes, reaction j an arc from its
// reactant complex to its product complex. Its connected components (the
// linkage classes) and strongly connected components (the strong linkage
// classes), each numbered from 0 by its smallest complex.
#ifndef CRNINV_STRUCTURE_GRAPH_H_
#define CRNINV_STRUCTURE_GRAPH_H_

#include <cstdint>
#include <vector>

namespace crninv {

struct ReactionGraph {
  uint32_t nodes = 0;
  std::vector<uint32_t> from, to;  // arc j
};

// The component of each node, and in *count how many there are.
std::vector<uint32_t> connected_components(const ReactionGraph& graph, uint32_t* count);
std::vector<uint32_t> strong_components(const ReactionGraph& graph, uint32_t* count);

// Whether no arc leaves each strong component.
std::vector<bool> terminal_components(const ReactionGraph& graph,
                                      const std::vector<uint32_t>& component, uint32_t count);

}  // namespace crninv

#endif  // CRNINV_STRUCTURE_GRAPH_H_
