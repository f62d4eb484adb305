// The strongly connected components of a directed graph, by Tarjan's
// algorithm (SIAM J. Comput. 1, 1972) with an explicit stack of frames, so
// that a long path cannot exhaust the call stack.
#ifndef CRNINV_BASE_STRONG_COMPONENTS_H_
#define CRNINV_BASE_STRONG_COMPONENTS_H_

#include <cstdint>
#include <vector>

#include "base/monitor.h"

namespace crninv {

// The graph has nodes 0 .. start.size() - 2; the arcs leaving v go to
// targets[start[v] .. start[v + 1]). Returns the component of each node,
// the components numbered as they complete, so that an arc between two
// components goes from the higher number to the lower; *count is how many
// there are. The monitor, when there is one, is ticked at each component.
std::vector<uint32_t> strong_components(const std::vector<uint64_t>& start,
                                        const std::vector<uint32_t>& targets, uint32_t* count,
                                        Monitor* monitor);

}  // namespace crninv

#endif  // CRNINV_BASE_STRONG_COMPONENTS_H_
