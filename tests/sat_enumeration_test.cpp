// The enumeration split between solvers on several threads: the same sets,
// each reported once, whatever the number of threads and however early
// the space is cut; and an exception thrown for one set, a cancellation
// or a spent budget stops every thread and reaches the caller.
#include "siphons/sat_enumeration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <stdexcept>
#include <string>

#include "crninv/errors.h"
#include "crninv/text_format.h"
#include "tests/support/random_networks.h"

namespace {

using Sets = std::vector<std::vector<uint32_t>>;

// The sets, sorted, after checking that kept saw each of them once.
Sets enumerate(const crninv::SiphonGraph& graph, unsigned threads, uint64_t split_after) {
  crninv::Control control;
  crninv::Monitor monitor(control, crninv::Progress::kSiphons);
  crninv::SatEnumeration how;
  how.threads = threads;
  how.split_after = split_after;
  how.split_time = {};
  std::multiset<std::vector<uint32_t>> seen;
  Sets sets = crninv::enumerate_by_sat(graph, how, monitor,
                                       [&](const std::vector<uint32_t>& set) { seen.insert(set); });
  std::sort(sets.begin(), sets.end());
  EXPECT_EQ(Sets(seen.begin(), seen.end()), sets);
  return sets;
}

TEST(SplitEnumeration, SameSetsOnEveryThreadCount) {
  crninv::Network network = crninv::parse_network(ring_network_text(9));
  crninv::SiphonGraph graph = crninv::siphon_graph(network, crninv::SiphonOptions::kSiphons);
  Sets alone = enumerate(graph, 1, 1000);
  ASSERT_EQ(alone.size(), 512u);
  for (unsigned threads : {2u, 3u, 4u}) {
    for (uint64_t split_after : {1u, 2u, 7u, 100u}) {
      SCOPED_TRACE(std::to_string(threads) + " threads, split after " +
                   std::to_string(split_after));
      EXPECT_EQ(enumerate(graph, threads, split_after), alone);
    }
  }
}

// Minimal siphons that cross one another, where a set shrunk on one side
// of a cut may lie on the other.
TEST(SplitEnumeration, RandomFlowNetworks) {
  std::mt19937 random(20111206);
  for (int trial = 0; trial < 60; ++trial) {
    uint32_t species = 6 + trial % 13, reactions = species + trial % 11;
    crninv::Network network =
        crninv::parse_network(random_flow_network_text(random, species, reactions));
    for (auto kind : {crninv::SiphonOptions::kSiphons, crninv::SiphonOptions::kTraps}) {
      SCOPED_TRACE(std::to_string(trial));
      crninv::SiphonGraph graph = crninv::siphon_graph(network, kind);
      EXPECT_EQ(enumerate(graph, 3, 1), enumerate(graph, 1, 1000));
    }
  }
}

TEST(SplitEnumeration, OneFailureStopsEveryThread) {
  crninv::Network network = crninv::parse_network(ring_network_text(12));
  crninv::SiphonGraph graph = crninv::siphon_graph(network, crninv::SiphonOptions::kSiphons);
  crninv::SatEnumeration how;
  how.threads = 3;
  how.split_after = 5;
  how.split_time = {};

  crninv::Control control;
  crninv::Monitor monitor(control, crninv::Progress::kSiphons);
  uint64_t kept = 0;
  EXPECT_THROW(crninv::enumerate_by_sat(graph, how, monitor,
                                        [&](const std::vector<uint32_t>&) {
                                          if (++kept == 300) throw std::length_error("cap");
                                        }),
               std::length_error);
  EXPECT_EQ(kept, 300u);

  // 2^16 sets take longer than the 20 ms before the first callback.
  crninv::Network large = crninv::parse_network(ring_network_text(16));
  crninv::SiphonGraph large_graph = crninv::siphon_graph(large, crninv::SiphonOptions::kSiphons);
  crninv::Control cancel;
  cancel.progress = [](const crninv::Progress&) { return false; };
  crninv::Monitor cancelled(cancel, crninv::Progress::kSiphons);
  EXPECT_THROW(
      crninv::enumerate_by_sat(large_graph, how, cancelled, [](const std::vector<uint32_t>&) {}),
      crninv::Cancelled);

  how.budget = 200000;
  EXPECT_THROW(crninv::enumerate_by_sat(graph, how, monitor, [](const std::vector<uint32_t>&) {}),
               crninv::OutOfMemory);
}

}  // namespace
