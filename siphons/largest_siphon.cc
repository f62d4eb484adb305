#include "siphons/largest_siphon.h"

#include <algorithm>

namespace crninv {

namespace {

void leave(const SiphonGraph& graph, uint32_t s, SiphonWorkspace& work) {
  work.inside[s] = 0;
  for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
    if (--work.inputs_inside[*r] != 0) continue;
    // Reaction *r has no input left: what it produces cannot stay.
    for (const uint32_t* p = graph.outputs.begin(*r); p != graph.outputs.end(*r); ++p) {
      if (work.inside[*p] == 1) {
        work.inside[*p] = 2;
        work.removed.push_back(*p);
      }
    }
  }
}

}  // namespace

std::vector<uint32_t> largest_siphon(const SiphonGraph& graph, const std::vector<uint32_t>& set,
                                     SiphonWorkspace& work) {
  // inside: 0 out, 1 in, 2 in but due to leave.
  for (uint32_t s : set) work.inside[s] = 1;
  for (uint32_t s : set) {
    for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
      ++work.inputs_inside[*r];
    }
  }
  for (uint32_t s : set) {
    for (const uint32_t* r = graph.output_of.begin(s); r != graph.output_of.end(s); ++r) {
      if (work.inputs_inside[*r] == 0 && work.inside[s] == 1) {
        work.inside[s] = 2;
        work.removed.push_back(s);
      }
    }
  }
  while (!work.removed.empty()) {
    uint32_t s = work.removed.back();
    work.removed.pop_back();
    leave(graph, s, work);
  }
  std::vector<uint32_t> kept;
  for (uint32_t s : set) {
    if (work.inside[s] != 0) kept.push_back(s);
  }
  // Back to all zero: the counts of the reactions still touched by kept.
  for (uint32_t s : kept) {
    work.inside[s] = 0;
    for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
      work.inputs_inside[*r] = 0;
    }
  }
  std::sort(kept.begin(), kept.end());
  return kept;
}

}  // namespace crninv
