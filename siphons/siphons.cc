#include "crninv/siphons.h"

#include <algorithm>
#include <thread>

#include "base/monitor.h"
#include "crninv/errors.h"
#include "siphons/components.h"
#include "siphons/largest_siphon.h"
#include "siphons/sat_enumeration.h"
#include "siphons/siphon_graph.h"

namespace crninv {

namespace {

// A vector's bytes as the memory account counts them.
uint64_t set_bytes(const std::vector<uint32_t>& set) {
  return sizeof(set) + set.size() * sizeof(uint32_t);
}

// What the enumeration's index of the sets takes by set.
constexpr uint64_t kIndexBytes = 48;

}  // namespace

namespace {

// Whether the one species s is a siphon: each reaction that produces it
// consumes it.
bool lone_siphon(const SiphonGraph& graph, uint32_t s) {
  for (const uint32_t* r = graph.output_of.begin(s); r != graph.output_of.end(s); ++r) {
    if (!std::binary_search(graph.inputs.begin(*r), graph.inputs.end(*r), s)) return false;
  }
  return true;
}

}  // namespace

// Each component on its own (see siphons/components.h): a solver the size
// of one component, and exclusions that only its solutions meet.
Siphons siphons(const Network& network, const SiphonOptions& options, const Control& control) {
  Monitor monitor(control, Progress::kSiphons);
  SiphonGraph graph = siphon_graph(network, options.kind);
  SiphonWorkspace work(graph);
  std::vector<uint32_t> local(graph.species, UINT32_MAX);
  uint64_t held = graph.bytes() + 2 * work.bytes() + local.size() * sizeof(uint32_t);
  if (held > control.memory_budget) throw OutOfMemory();
  std::vector<std::vector<uint32_t>> components = siphon_components(graph, work);
  for (const auto& component : components) held += set_bytes(component);
  if (held > control.memory_budget) throw OutOfMemory();
  Siphons result;
  result.kind = options.kind;
  // The sets of the part at hand, counted as they come; kept once it ends.
  uint64_t in_part = 0;
  auto count = [&](const std::vector<uint32_t>& set) {
    if (result.sets.size() + ++in_part > options.max_count) {
      throw TooManySiphons(options.max_count, options.kind == SiphonOptions::kTraps);
    }
    held += set_bytes(set) + kIndexBytes;
    if (held > control.memory_budget) throw OutOfMemory();
  };
  Progress& progress = monitor.state();
  SatEnumeration how;
  how.threads = options.threads != 0 ? options.threads : std::thread::hardware_concurrency();
  how.threads = std::max(how.threads, 1u);
  for (const auto& component : components) {
    if (component.size() == 1) {
      ++progress.step;
      if (lone_siphon(graph, component[0])) {
        ++progress.found;
        in_part = 0;
        count(component);
        result.sets.push_back(component);
      }
      monitor.tick();
      continue;
    }
    SiphonGraph inside = graph_inside(graph, component, local);
    uint64_t inside_bytes = inside.bytes() + SiphonWorkspace(inside).bytes();
    if (held + inside_bytes > control.memory_budget) throw OutOfMemory();
    // The solvers' share is what the graphs and the sets found leave; the
    // sets are counted against the whole budget as they come.
    how.budget = control.memory_budget - held - inside_bytes;
    in_part = 0;
    for (std::vector<uint32_t>& set : enumerate_by_sat(inside, how, monitor, count)) {
      for (uint32_t& s : set) s = component[s];
      result.sets.push_back(std::move(set));
    }
  }
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
