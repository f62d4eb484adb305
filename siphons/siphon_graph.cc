#include "siphons/siphon_graph.h"

#include <algorithm>

namespace crninv {

namespace {

// The species of a side with a positive coefficient, each once, ascending.
void append_side(Side side, Lists& lists, std::vector<uint32_t>& scratch) {
  scratch.clear();
  for (const Term& term : side) {
    if (term.coefficient > 0) scratch.push_back(term.species);
  }
  std::sort(scratch.begin(), scratch.end());
  scratch.erase(std::unique(scratch.begin(), scratch.end()), scratch.end());
  lists.item.insert(lists.item.end(), scratch.begin(), scratch.end());
  lists.start.push_back(lists.item.size());
}

// The lists of species by reaction turned into lists of reactions by
// species (ascending, since reactions are visited in order).
Lists inverted(const Lists& by_reaction, uint32_t reactions, uint32_t species) {
  Lists by_species;
  by_species.start.assign(uint64_t{species} + 1, 0);
  for (uint32_t s : by_reaction.item) ++by_species.start[s + 1];
  for (uint32_t s = 0; s < species; ++s) by_species.start[s + 1] += by_species.start[s];
  by_species.item.resize(by_reaction.item.size());
  std::vector<uint64_t> next(by_species.start.begin(), by_species.start.end() - 1);
  for (uint32_t r = 0; r < reactions; ++r) {
    for (const uint32_t* s = by_reaction.begin(r); s != by_reaction.end(r); ++s) {
      by_species.item[next[*s]++] = r;
    }
  }
  return by_species;
}

uint64_t list_bytes(const Lists& lists) {
  return lists.start.size() * sizeof(uint64_t) + lists.item.size() * sizeof(uint32_t);
}

}  // namespace

uint64_t SiphonGraph::bytes() const {
  return list_bytes(inputs) + list_bytes(outputs) + list_bytes(input_of) + list_bytes(output_of);
}

SiphonGraph siphon_graph(const Network& network, SiphonOptions::Kind kind) {
  SiphonGraph graph;
  graph.species = network.species_count();
  graph.reactions = network.reaction_count();
  std::vector<uint32_t> scratch;
  bool traps = kind == SiphonOptions::kTraps;
  for (uint32_t r = 0; r < graph.reactions; ++r) {
    append_side(traps ? network.products(r) : network.reactants(r), graph.inputs, scratch);
    append_side(traps ? network.reactants(r) : network.products(r), graph.outputs, scratch);
  }
  graph.input_of = inverted(graph.inputs, graph.reactions, graph.species);
  graph.output_of = inverted(graph.outputs, graph.reactions, graph.species);
  return graph;
}

SiphonGraph graph_inside(const SiphonGraph& graph, const std::vector<uint32_t>& species,
                         std::vector<uint32_t>& local) {
  std::vector<uint32_t> reactions;
  for (uint32_t i = 0; i < species.size(); ++i) {
    local[species[i]] = i;
    reactions.insert(reactions.end(), graph.output_of.begin(species[i]),
                     graph.output_of.end(species[i]));
  }
  std::sort(reactions.begin(), reactions.end());
  reactions.erase(std::unique(reactions.begin(), reactions.end()), reactions.end());
  auto keep = [&](const uint32_t* begin, const uint32_t* end, Lists& lists) {
    for (const uint32_t* s = begin; s != end; ++s) {
      if (local[*s] != UINT32_MAX) lists.item.push_back(local[*s]);
    }
    lists.start.push_back(lists.item.size());
  };
  SiphonGraph inside;
  inside.species = static_cast<uint32_t>(species.size());
  inside.reactions = static_cast<uint32_t>(reactions.size());
  for (uint32_t r : reactions) {
    keep(graph.inputs.begin(r), graph.inputs.end(r), inside.inputs);
    keep(graph.outputs.begin(r), graph.outputs.end(r), inside.outputs);
  }
  for (uint32_t s : species) local[s] = UINT32_MAX;
  inside.input_of = inverted(inside.inputs, inside.reactions, inside.species);
  inside.output_of = inverted(inside.outputs, inside.reactions, inside.species);
  return inside;
}

}  // namespace crninv
