#include "crninv/siphons.h"

#include <algorithm>

#include "base/monitor.h"
#include "crninv/errors.h"
#include "siphons/largest_siphon.h"
#include "siphons/sat_enumeration.h"
#include "siphons/siphon_graph.h"

namespace crninv {

namespace {

// A vector's bytes as the memory account counts them.
uint64_t set_bytes(const std::vector<uint32_t>& set) {
  return sizeof(set) + set.size() * sizeof(uint32_t);
}

}  // namespace

Siphons siphons(const Network& network, const SiphonOptions& options, const Control& control) {
  Monitor monitor(control, Progress::kSiphons);
  SiphonGraph graph = siphon_graph(network, options.kind);
  SiphonWorkspace work(graph);
  uint64_t held = graph.bytes() + 2 * work.bytes();
  if (held > control.memory_budget) throw OutOfMemory();
  Siphons result;
  result.kind = options.kind;
  // The solver's share is what the graph and the sets found leave; the
  // sets are counted against the whole budget as they come.
  enumerate_by_sat(
      graph, control.memory_budget - held, monitor, [&](const std::vector<uint32_t>& set) {
        if (result.sets.size() >= options.max_count) {
          throw TooManySiphons(options.max_count, options.kind == SiphonOptions::kTraps);
        }
        held += set_bytes(set);
        if (held > control.memory_budget) throw OutOfMemory();
        result.sets.push_back(set);
      });
  std::sort(result.sets.begin(), result.sets.end());
  monitor.report();
  return result;
}

bool is_siphon(const Network& network, const std::vector<uint32_t>& species,
               SiphonOptions::Kind kind) {
  for (uint32_t s : species) {
    if (s >= network.species_count()) throw InvalidArgument("species index out of range");
  }
  SiphonGraph graph = siphon_graph(network, kind);
  SiphonWorkspace work(graph);
  std::vector<uint32_t> set = species;
  std::sort(set.begin(), set.end());
  set.erase(std::unique(set.begin(), set.end()), set.end());
  return largest_siphon(graph, set, work).size() == set.size();
}

}  // namespace crninv
