// Minimal siphons and traps: against an enumeration of every subset on
// random small networks, against a branching search on shared networks, the
// reading of the sides (catalysts, self-loops, zero coefficients), and the
// cap, the memory account and cancellation.
#include "crninv/siphons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>

#include "crninv/errors.h"
#include "crninv/text_format.h"
#include "tests/support/random_networks.h"
#include "tests/test_util.h"

namespace {

using Sets = std::vector<std::vector<uint32_t>>;

// The shared networks: beside the repository, or where CRNINV_NETS says.
// Whether set (a bit mask) is a siphon, read straight from the sides: each
// reaction with a positive term of the set on its producing side has one
// on its consuming side.
bool siphon_by_definition(const crninv::Network& network, uint64_t set, bool traps) {
  auto touches = [&](crninv::Side side) {
    for (const crninv::Term& term : side) {
      if (term.coefficient > 0 && (set >> term.species & 1)) return true;
    }
    return false;
  };
  for (uint32_t r = 0; r < network.reaction_count(); ++r) {
    crninv::Side made = traps ? network.reactants(r) : network.products(r);
    crninv::Side used = traps ? network.products(r) : network.reactants(r);
    if (touches(made) && !touches(used)) return false;
  }
  return true;
}

// Every minimal nonempty siphon, by trying all subsets.
Sets minimal_by_subsets(const crninv::Network& network, bool traps) {
  uint32_t n = network.species_count();
  std::vector<uint64_t> siphons;
  for (uint64_t set = 1; set < (uint64_t{1} << n); ++set) {
    if (siphon_by_definition(network, set, traps)) siphons.push_back(set);
  }
  Sets minimal;
  for (uint64_t s : siphons) {
    bool smaller = std::any_of(siphons.begin(), siphons.end(),
                               [&](uint64_t t) { return t != s && (t & s) == t; });
    if (smaller) continue;
    std::vector<uint32_t> members;
    for (uint32_t k = 0; k < n; ++k) {
      if (s >> k & 1) members.push_back(k);
    }
    minimal.push_back(members);
  }
  std::sort(minimal.begin(), minimal.end());
  return minimal;
}

crninv::Siphons run(const crninv::Network& network, bool traps, uint64_t cap = UINT64_MAX) {
  crninv::SiphonOptions options;
  options.kind = traps ? crninv::SiphonOptions::kTraps : crninv::SiphonOptions::kSiphons;
  options.max_count = cap;
  return crninv::siphons(network, options, crninv::Control());
}

TEST(SiphonsProperty, RandomNetworksMatchEverySubset) {
  std::mt19937 random(20070915);
  for (int trial = 0; trial < 400; ++trial) {
    uint32_t species = 1 + trial % 9, reactions = 1 + (trial * 7) % 8;
    crninv::Network network =
        crninv::parse_network(random_network_text(random, species, reactions));
    for (bool traps : {false, true}) {
      SCOPED_TRACE(std::to_string(trial) + (traps ? " traps" : " siphons"));
      EXPECT_EQ(run(network, traps).sets, minimal_by_subsets(network, traps));
    }
  }
}

// Networks whose minimal siphons are long and cross one another, where a
// wrong split into parts, or a shrinking gone wrong, would show.
TEST(SiphonsProperty, RandomFlowNetworksMatchEverySubset) {
  std::mt19937 random(19850615);
  for (int trial = 0; trial < 150; ++trial) {
    uint32_t species = 4 + trial % 11, reactions = species + trial % 13;
    crninv::Network network =
        crninv::parse_network(random_flow_network_text(random, species, reactions));
    for (bool traps : {false, true}) {
      SCOPED_TRACE(std::to_string(trial) + (traps ? " traps" : " siphons"));
      EXPECT_EQ(run(network, traps).sets, minimal_by_subsets(network, traps));
    }
  }
}

// A branching search that shares nothing with the library: grow a set from
// its smallest species, taking in an input of a reaction that produces a
// member and consumes none; the sets where nothing is left to take hold
// every minimal siphon, and the minimal ones are kept.
class BranchingSearch {
 public:
  explicit BranchingSearch(const crninv::Network& network) : network(network) {}

  Sets minimal() {
    uint32_t n = network.species_count();
    for (uint32_t p = 0; p < n; ++p) {
      std::vector<uint8_t> in(n, 0), out(n, 0);
      for (uint32_t q = 0; q < p; ++q) out[q] = 1;
      in[p] = 1;
      grow(in, out);
    }
    Sets kept;
    for (const auto& s : found) {
      bool smaller = std::any_of(found.begin(), found.end(), [&](const std::vector<uint32_t>& t) {
        return t != s && std::includes(s.begin(), s.end(), t.begin(), t.end());
      });
      if (!smaller) kept.push_back(s);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
  }

 private:
  bool has(crninv::Side side, const std::vector<uint8_t>& set) {
    for (const crninv::Term& term : side) {
      if (term.coefficient > 0 && set[term.species]) return true;
    }
    return false;
  }
  void grow(std::vector<uint8_t>& in, std::vector<uint8_t>& out) {
    for (uint32_t r = 0; r < network.reaction_count(); ++r) {
      if (!has(network.products(r), in) || has(network.reactants(r), in)) continue;
      std::vector<uint32_t> tried;
      for (const crninv::Term& term : network.reactants(r)) {
        uint32_t q = term.species;
        if (term.coefficient <= 0 || out[q]) continue;
        in[q] = 1;
        grow(in, out);
        in[q] = 0;
        out[q] = 1;
        tried.push_back(q);
      }
      for (uint32_t q : tried) out[q] = 0;
      return;
    }
    std::vector<uint32_t> members;
    for (uint32_t k = 0; k < in.size(); ++k) {
      if (in[k]) members.push_back(k);
    }
    found.push_back(members);
  }

  const crninv::Network& network;
  Sets found;
};

TEST(SiphonsShared, MatchBranchingSearch) {
  for (const std::string& path :
       test_nets({"mini.net", "e_coli_core.net", "mcc/Raft-PT-02.net", "mcc/Referendum-PT-0020.net",
                  "mcc/DrinkVendingMachine-PT-02.net", "mcc/TokenRing-PT-005.net",
                  "mcc/RefineWMG-PT-025026.net", "mcc/BusinessProcesses-PT-08.net"})) {
    SCOPED_TRACE(path);
    crninv::Network network = crninv::read_network(path);
    EXPECT_EQ(run(network, false).sets, BranchingSearch(network).minimal());
  }
}

// The sides count, not the net change: what each choice would make of a
// catalyst, a self-loop, a zero coefficient and a reaction from nothing.
TEST(SiphonsSides, TableOfReadings) {
  struct Case {
    const char* text;
    Sets siphons, traps;
  };
  const Case cases[] = {
      // E is consumed and produced by each reaction: {E} alone is a siphon
      // and a trap, though no net change touches it.
      {"r1: A + E -> B + E;\nr2: B -> A;", {{0, 2}, {1}}, {{0, 2}, {1}}},
      // p on both sides: the self-loop keeps p; {q} is never produced.
      {"t: p + q -> p;", {{0}, {1}}, {{0}}},
      // A zero coefficient is no arc: A is not consumed by r1.
      {"r1: 0 A + B -> C;\nr2: C -> B;", {{0}, {1, 2}}, {{0}, {1, 2}}},
      // A flows in from nothing: no siphon holds it; B flows out to nothing:
      // no trap holds it.
      {"r1: -> A;\nr2: A -> B;\nr3: B -> ;", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    crninv::Network network = crninv::parse_network(c.text);
    EXPECT_EQ(run(network, false).sets, c.siphons);
    EXPECT_EQ(run(network, true).sets, c.traps);
    for (const auto& set : c.siphons) {
      EXPECT_TRUE(crninv::is_siphon(network, set, crninv::SiphonOptions::kSiphons));
    }
  }
}

TEST(SiphonsText, SortedNamesUnderAHeading) {
  crninv::Network network = crninv::parse_network("r1: Z + E -> B + E;\nr2: B -> Z;");
  EXPECT_EQ(crninv::siphons_text(network, run(network, false)),
            "Siphons (minimal, nonempty):\n\t{B, Z}\n\t{E}\n");
  EXPECT_EQ(crninv::siphons_text(network, run(network, true)),
            "Traps (minimal, nonempty):\n\t{B, Z}\n\t{E}\n");
}

TEST(SiphonsLimits, CapMemoryAndCancellation) {
  crninv::Network network = crninv::parse_network(ring_network_text(10));
  uint64_t all = run(network, false).sets.size();
  EXPECT_EQ(all, 1024u);
  EXPECT_EQ(run(network, true).sets.size(), 1024u);
  try {
    run(network, false, all - 1);
    ADD_FAILURE() << "no TooManySiphons";
  } catch (const crninv::TooManySiphons& e) {
    EXPECT_EQ(e.cap, all - 1);
    EXPECT_FALSE(e.traps);
  }
  EXPECT_EQ(run(network, false, all).sets.size(), all);

  crninv::Control tight;
  tight.memory_budget = 1000;
  EXPECT_THROW(crninv::siphons(network, crninv::SiphonOptions(), tight), crninv::OutOfMemory);

  crninv::Control stop;
  uint64_t calls = 0;
  stop.progress = [&](const crninv::Progress& p) {
    EXPECT_EQ(p.stage, crninv::Progress::kSiphons);
    return ++calls < 1;
  };
  EXPECT_THROW(crninv::siphons(network, crninv::SiphonOptions(), stop), crninv::Cancelled);
  EXPECT_EQ(calls, 1u);
}

}  // namespace
