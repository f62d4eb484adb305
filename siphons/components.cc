#include "siphons/components.h"

#include <algorithm>

#include "base/strong_components.h"

namespace crninv {

namespace {

// The graph of species and reactions in compressed form: species s is
// node s, reaction r node species + r; a species of the largest siphon
// leads to the reactions that take it in, a reaction to the species of the
// largest siphon that it gives out. Species outside it have no arc.
void species_reaction_arcs(const SiphonGraph& graph, const std::vector<uint8_t>& member,
                           std::vector<uint64_t>& start, std::vector<uint32_t>& targets) {
  uint64_t nodes = uint64_t{graph.species} + graph.reactions;
  start.assign(nodes + 1, 0);
  targets.clear();
  for (uint32_t s = 0; s < graph.species; ++s) {
    if (member[s]) {
      for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
        targets.push_back(graph.species + *r);
      }
    }
    start[s + 1] = targets.size();
  }
  for (uint32_t r = 0; r < graph.reactions; ++r) {
    for (const uint32_t* s = graph.outputs.begin(r); s != graph.outputs.end(r); ++s) {
      if (member[*s]) targets.push_back(*s);
    }
    start[uint64_t{graph.species} + r + 1] = targets.size();
  }
}

}  // namespace

std::vector<std::vector<uint32_t>> siphon_components(const SiphonGraph& graph,
                                                     SiphonWorkspace& work) {
  std::vector<uint32_t> all(graph.species);
  for (uint32_t s = 0; s < graph.species; ++s) all[s] = s;
  std::vector<uint8_t> member(graph.species, 0);
  for (uint32_t s : largest_siphon(graph, all, work)) member[s] = 1;
  std::vector<uint64_t> start;
  std::vector<uint32_t> targets;
  species_reaction_arcs(graph, member, start, targets);
  uint32_t count;
  std::vector<uint32_t> component = strong_components(start, targets, &count, nullptr);
  // The species of the largest siphon by component, each list ascending;
  // the lists ordered by their first species.
  std::vector<std::vector<uint32_t>> found(count);
  for (uint32_t s = 0; s < graph.species; ++s) {
    if (member[s]) found[component[s]].push_back(s);
  }
  found.erase(std::remove_if(found.begin(), found.end(),
                             [](const std::vector<uint32_t>& c) { return c.empty(); }),
              found.end());
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace crninv
