// The shrinking of a siphon to a minimal one, on its own: from the largest
// siphons inside random subsets of random small networks, for siphons and
// traps, checked against the definition by brute force; and the workspace
// handed back all zero, which every later search on it relies on.
#include "siphons/minimal_siphon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "crninv/siphons.h"
#include "crninv/text_format.h"
#include "tests/support/random_networks.h"

namespace {

std::vector<uint32_t> members(uint64_t mask, uint32_t n) {
  std::vector<uint32_t> set;
  for (uint32_t k = 0; k < n; ++k) {
    if (mask >> k & 1) set.push_back(k);
  }
  return set;
}

uint64_t mask_of(const std::vector<uint32_t>& set) {
  uint64_t mask = 0;
  for (uint32_t s : set) mask |= uint64_t{1} << s;
  return mask;
}

// The siphon condition on bit masks, read from the network's sides: a
// reaction's pair of masks is (what it makes, what it uses) as the kind
// reads them.
class MaskSiphons {
 public:
  MaskSiphons(const crninv::Network& network, crninv::SiphonOptions::Kind kind) {
    bool traps = kind == crninv::SiphonOptions::kTraps;
    for (uint32_t r = 0; r < network.reaction_count(); ++r) {
      uint64_t made = side_mask(traps ? network.reactants(r) : network.products(r));
      uint64_t used = side_mask(traps ? network.products(r) : network.reactants(r));
      rules.push_back({made, used});
    }
  }
  bool siphon(uint64_t set) const {
    return std::all_of(rules.begin(), rules.end(), [&](const std::pair<uint64_t, uint64_t>& rule) {
      return (rule.first & set) == 0 || (rule.second & set) != 0;
    });
  }
  // Whether some nonempty proper subset of set is a siphon.
  bool holds_smaller(uint64_t set) const {
    for (uint64_t sub = (set - 1) & set; sub != 0; sub = (sub - 1) & set) {
      if (siphon(sub)) return true;
    }
    return false;
  }

 private:
  static uint64_t side_mask(crninv::Side side) {
    uint64_t mask = 0;
    for (const crninv::Term& term : side) {
      if (term.coefficient > 0) mask |= uint64_t{1} << term.species;
    }
    return mask;
  }
  std::vector<std::pair<uint64_t, uint64_t>> rules;
};

bool all_zero(const crninv::SiphonWorkspace& work) {
  return std::all_of(work.inside.begin(), work.inside.end(), [](uint8_t v) { return v == 0; }) &&
         std::all_of(work.inputs_inside.begin(), work.inputs_inside.end(),
                     [](uint32_t v) { return v == 0; });
}

TEST(MinimalSiphon, RandomSiphonsShrinkToMinimalOnes) {
  std::mt19937 random(19930401);
  int shrunk = 0;
  for (int trial = 0; trial < 600; ++trial) {
    uint32_t species = 2 + trial % 15, reactions = 1 + (trial * 7) % 20;
    crninv::Network network =
        crninv::parse_network(random_network_text(random, species, reactions));
    uint32_t n = network.species_count();
    for (auto kind : {crninv::SiphonOptions::kSiphons, crninv::SiphonOptions::kTraps}) {
      SCOPED_TRACE(std::to_string(trial) + (kind == crninv::SiphonOptions::kTraps ? " traps" : ""));
      MaskSiphons rules(network, kind);
      crninv::SiphonGraph graph = crninv::siphon_graph(network, kind);
      // One workspace for several searches, as the enumeration uses it.
      crninv::SiphonWorkspace work(graph);
      for (int pick = 0; pick < 4; ++pick) {
        std::vector<uint32_t> subset = members(random() & ((uint64_t{1} << n) - 1), n);
        std::vector<uint32_t> siphon = crninv::largest_siphon(graph, subset, work);
        if (siphon.empty()) continue;
        // The first species is where the search starts: orders matter.
        std::shuffle(siphon.begin(), siphon.end(), random);
        std::vector<uint32_t> minimal = crninv::minimal_inside(graph, siphon, work);
        EXPECT_TRUE(all_zero(work));
        EXPECT_TRUE(std::is_sorted(minimal.begin(), minimal.end()));
        uint64_t mask = mask_of(minimal);
        EXPECT_NE(mask, 0u);
        EXPECT_EQ(mask & ~mask_of(siphon), 0u);
        EXPECT_TRUE(rules.siphon(mask));
        EXPECT_FALSE(rules.holds_smaller(mask));
        shrunk += minimal.size() < siphon.size();
      }
    }
  }
  // The shrinking itself was exercised, not only its checks.
  EXPECT_GT(shrunk, 500);
}

// Larger networks, where a removal runs through several species before it
// meets one known to empty the set: minimal when no species can leave, by
// the largest siphon inside what remains.
TEST(MinimalSiphon, LargerRandomSiphonsShrinkToMinimalOnes) {
  std::mt19937 random(20051101);
  for (int trial = 0; trial < 200; ++trial) {
    uint32_t species = 20 + trial % 60, reactions = species + (trial * 13) % 90;
    crninv::Network network =
        crninv::parse_network(random_flow_network_text(random, species, reactions));
    for (auto kind : {crninv::SiphonOptions::kSiphons, crninv::SiphonOptions::kTraps}) {
      SCOPED_TRACE(std::to_string(trial) + (kind == crninv::SiphonOptions::kTraps ? " traps" : ""));
      crninv::SiphonGraph graph = crninv::siphon_graph(network, kind);
      crninv::SiphonWorkspace work(graph);
      std::vector<uint32_t> all(graph.species);
      for (uint32_t s = 0; s < graph.species; ++s) all[s] = s;
      for (int pick = 0; pick < 4; ++pick) {
        std::vector<uint32_t> siphon = crninv::largest_siphon(graph, all, work);
        if (siphon.empty()) break;
        std::shuffle(siphon.begin(), siphon.end(), random);
        std::vector<uint32_t> minimal = crninv::minimal_inside(graph, siphon, work);
        ASSERT_TRUE(all_zero(work));
        ASSERT_FALSE(minimal.empty());
        EXPECT_TRUE(crninv::is_siphon(network, minimal, kind));
        for (size_t k = 0; k < minimal.size(); ++k) {
          std::vector<uint32_t> rest = minimal;
          rest.erase(rest.begin() + k);
          EXPECT_TRUE(crninv::largest_siphon(graph, rest, work).empty());
        }
        // The next pick shrinks what is left without one of these.
        all.erase(std::find(all.begin(), all.end(), minimal[random() % minimal.size()]));
      }
    }
  }
}

}  // namespace
