#include "siphons/components.h"

#include <algorithm>

namespace crninv {

namespace {

// Tarjan's strongly connected components, without recursion, on the graph
// of species and reactions: species to the reactions that consume them,
// reactions to the species they produce; only species of the largest
// siphon take part.
class Components {
 public:
  Components(const SiphonGraph& graph, const std::vector<uint8_t>& member)
      : graph(graph),
        member(member),
        index(uint64_t{graph.species} + graph.reactions, kUnseen),
        low(index.size(), 0) {}

  std::vector<std::vector<uint32_t>> all() {
    for (uint32_t s = 0; s < graph.species; ++s) {
      if (member[s] && index[s] == kUnseen) visit(s);
    }
    std::sort(found.begin(), found.end());
    return found;
  }

 private:
  static constexpr uint32_t kUnseen = UINT32_MAX, kDone = UINT32_MAX - 1;

  bool is_species(uint32_t node) const { return node < graph.species; }
  const uint32_t* first(uint32_t node) const {
    return is_species(node) ? graph.input_of.begin(node)
                            : graph.outputs.begin(node - graph.species);
  }
  const uint32_t* last(uint32_t node) const {
    return is_species(node) ? graph.input_of.end(node) : graph.outputs.end(node - graph.species);
  }
  // The node an arc leads to, or kUnseen when it leaves the largest siphon.
  uint32_t target(uint32_t node, uint32_t item) const {
    if (is_species(node)) return graph.species + item;
    return member[item] ? item : kUnseen;
  }

  void open(uint32_t node) {
    index[node] = low[node] = next_index++;
    stack.push_back(node);
    path.push_back({node, first(node)});
  }

  void visit(uint32_t root) {
    open(root);
    while (!path.empty()) {
      uint32_t node = path.back().first;
      const uint32_t*& arc = path.back().second;
      if (arc != last(node)) {
        uint32_t next = target(node, *arc++);
        if (next == kUnseen) continue;
        if (index[next] == kUnseen) {
          open(next);
        } else if (index[next] != kDone) {
          low[node] = std::min(low[node], index[next]);
        }
        continue;
      }
      path.pop_back();
      if (!path.empty()) low[path.back().first] = std::min(low[path.back().first], low[node]);
      if (low[node] == index[node]) close(node);
    }
  }

  // Pops the component whose root is node; keeps its species.
  void close(uint32_t node) {
    std::vector<uint32_t> species;
    uint32_t top;
    do {
      top = stack.back();
      stack.pop_back();
      index[top] = kDone;
      if (is_species(top)) species.push_back(top);
    } while (top != node);
    if (species.empty()) return;
    std::sort(species.begin(), species.end());
    found.push_back(std::move(species));
  }

  const SiphonGraph& graph;
  const std::vector<uint8_t>& member;
  std::vector<uint32_t> index, low, stack;
  std::vector<std::pair<uint32_t, const uint32_t*>> path;
  std::vector<std::vector<uint32_t>> found;
  uint32_t next_index = 0;
};

}  // namespace

std::vector<std::vector<uint32_t>> siphon_components(const SiphonGraph& graph,
                                                     SiphonWorkspace& work) {
  std::vector<uint32_t> all(graph.species);
  for (uint32_t s = 0; s < graph.species; ++s) all[s] = s;
  std::vector<uint8_t> member(graph.species, 0);
  for (uint32_t s : largest_siphon(graph, all, work)) member[s] = 1;
  return Components(graph, member).all();
}

}  // namespace crninv
