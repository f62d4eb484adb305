#include "structure/graph.h"

#include <algorithm>

#include "base/strong_components.h"

namespace crninv {

namespace {

constexpr uint32_t kNone = UINT32_MAX;

// Renumbers components from 0 in the order of their smallest node.
std::vector<uint32_t> by_smallest_node(const std::vector<uint32_t>& raw, uint32_t* count) {
  std::vector<uint32_t> number(raw.size(), kNone), result(raw.size());
  uint32_t next = 0;
  for (size_t v = 0; v < raw.size(); ++v) {
    if (number[raw[v]] == kNone) number[raw[v]] = next++;
    result[v] = number[raw[v]];
  }
  *count = next;
  return result;
}

uint32_t find_root(std::vector<uint32_t>& parent, uint32_t v) {
  while (parent[v] != v) {
    parent[v] = parent[parent[v]];
    v = parent[v];
  }
  return v;
}

// The arcs leaving each node: targets[start[v] .. start[v + 1]).
struct Adjacency {
  std::vector<uint64_t> start;
  std::vector<uint32_t> targets;
};

Adjacency out_arcs(const ReactionGraph& graph) {
  Adjacency a;
  a.start.assign(uint64_t{graph.nodes} + 1, 0);
  for (uint32_t v : graph.from) ++a.start[v + 1];
  for (uint32_t v = 0; v < graph.nodes; ++v) a.start[v + 1] += a.start[v];
  a.targets.resize(graph.from.size());
  std::vector<uint64_t> next(a.start.begin(), a.start.end() - 1);
  for (size_t j = 0; j < graph.from.size(); ++j) a.targets[next[graph.from[j]]++] = graph.to[j];
  return a;
}

}  // namespace

std::vector<uint32_t> connected_components(const ReactionGraph& graph, uint32_t* count) {
  std::vector<uint32_t> parent(graph.nodes);
  for (uint32_t v = 0; v < graph.nodes; ++v) parent[v] = v;
  for (size_t j = 0; j < graph.from.size(); ++j) {
    uint32_t a = find_root(parent, graph.from[j]), b = find_root(parent, graph.to[j]);
    if (a != b) parent[std::max(a, b)] = std::min(a, b);
  }
  for (uint32_t v = 0; v < graph.nodes; ++v) parent[v] = find_root(parent, v);
  return by_smallest_node(parent, count);
}

std::vector<uint32_t> strong_components(const ReactionGraph& graph, uint32_t* count) {
  Adjacency adjacency = out_arcs(graph);
  return by_smallest_node(strong_components(adjacency.start, adjacency.targets, count, nullptr),
                          count);
}

std::vector<bool> terminal_components(const ReactionGraph& graph,
                                      const std::vector<uint32_t>& component, uint32_t count) {
  std::vector<bool> terminal(count, true);
  for (size_t j = 0; j < graph.from.size(); ++j) {
    uint32_t a = component[graph.from[j]];
    if (a != component[graph.to[j]]) terminal[a] = false;
  }
  return terminal;
}

}  // namespace crninv
