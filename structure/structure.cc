#include "crninv/structure.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "base/monitor.h"
#include "structure/complexes.h"
#include "structure/exact_rank.h"
#include "structure/graph.h"
#include "structure/theorems.h"

namespace crninv {

namespace {

// The members of each class, its reactions, and the strong classes in each
// linkage class, from the class of each complex.
void fill_classes(Structure& s, uint32_t linkage_count, uint32_t strong_count,
                  const std::vector<bool>& terminal) {
  s.linkage_classes.resize(linkage_count);
  s.strong_classes.resize(strong_count);
  for (uint32_t c = 0; c < s.complexes.size(); ++c) {
    LinkageClass& l = s.linkage_classes[s.linkage_class_of[c]];
    StrongClass& k = s.strong_classes[s.strong_class_of[c]];
    l.complexes.push_back(c);
    k.complexes.push_back(c);
    k.linkage_class = s.linkage_class_of[c];
  }
  for (uint32_t j = 0; j < s.reactant.size(); ++j) {
    s.linkage_classes[s.linkage_class_of[s.reactant[j]]].reactions.push_back(j);
  }
  for (uint32_t i = 0; i < strong_count; ++i) {
    StrongClass& k = s.strong_classes[i];
    k.terminal = terminal[i];
    LinkageClass& l = s.linkage_classes[k.linkage_class];
    l.strong_classes.push_back(i);
    if (k.terminal) {
      ++l.terminal_classes;
      ++s.terminal_classes;
    }
  }
}

// s, the rank of N, and the rank of the reaction vectors of each linkage
// class; with them the deficiencies, n - l - s and n_i - 1 - s_i.
void ranks_and_deficiencies(Structure& s, const Network& network, const Control& control) {
  SparseMatrix vectors = transposed(network.stoichiometry());
  RankWorkspace workspace(vectors, control.memory_budget);
  Monitor monitor(control, Progress::kReduction);
  uint32_t R = network.reaction_count();
  monitor.state().steps = monitor.state().most = 2 * uint64_t{R};
  std::vector<uint32_t> all(R);
  std::iota(all.begin(), all.end(), 0);
  s.rank = workspace.rank(all, monitor);
  for (LinkageClass& l : s.linkage_classes) {
    l.rank = workspace.rank(l.reactions, monitor);
    l.deficiency = static_cast<uint32_t>(l.complexes.size()) - 1 - l.rank;
  }
  // The reaction vectors of a linkage class of n_i complexes span at most
  // n_i - 1 dimensions, so n - l >= s and no deficiency is negative.
  s.deficiency = static_cast<uint32_t>(s.complexes.size() - s.linkage_classes.size()) - s.rank;
  monitor.report();
}

// Whether each arc's reverse is an arc too.
bool reversible(const std::vector<uint32_t>& from, const std::vector<uint32_t>& to) {
  std::vector<std::pair<uint32_t, uint32_t>> arcs;
  for (size_t j = 0; j < from.size(); ++j) arcs.emplace_back(from[j], to[j]);
  std::sort(arcs.begin(), arcs.end());
  for (const auto& [a, b] : arcs) {
    if (!std::binary_search(arcs.begin(), arcs.end(), std::make_pair(b, a))) return false;
  }
  return true;
}

}  // namespace

Structure structure(const Network& network, const Control& control) {
  Structure s;
  ComplexTable table = complexes_of(network);
  s.complexes = std::move(table.complexes);
  s.reactant = std::move(table.reactant);
  s.product = std::move(table.product);

  ReactionGraph graph{static_cast<uint32_t>(s.complexes.size()), s.reactant, s.product};
  uint32_t linkage_count = 0, strong_count = 0;
  s.linkage_class_of = connected_components(graph, &linkage_count);
  s.strong_class_of = strong_components(graph, &strong_count);
  fill_classes(s, linkage_count, strong_count,
               terminal_components(graph, s.strong_class_of, strong_count));
  // Each strong linkage class lies in one linkage class: weakly reversible
  // is one strong class in each.
  s.weakly_reversible = strong_count == linkage_count;
  s.reversible = reversible(s.reactant, s.product);

  ranks_and_deficiencies(s, network, control);
  s.deficiency_zero = deficiency_zero_verdict(s);
  s.deficiency_one = deficiency_one_verdict(s);
  s.robustness = robustness_verdict(s);
  return s;
}

}  // namespace crninv
