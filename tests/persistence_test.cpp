// The persistence criterion of Angeli, De Leenheer and Sontag (2007):
// their cases by name with the verdict the paper gives, and random networks
// where a siphon holds a P-semiflow exactly when it holds the support of a
// minimal one that the program lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "crninv/covering.h"
#include "crninv/text_format.h"
#include "tests/support/random_networks.h"
#include "tests/support/semiflow_oracle.h"
#include "tests/test_util.h"

namespace {

struct Verdict {
  crninv::Siphons siphons;
  crninv::Persistence persistence;
};

Verdict judge(const crninv::Network& network) {
  Verdict v;
  v.siphons = crninv::siphons(network, crninv::SiphonOptions(), crninv::Control());
  v.persistence = crninv::persistence(network, v.siphons, crninv::Control());
  return v;
}

TEST(PersistenceTextbook, AngeliDeLeenheerSontag2007) {
  struct Case {
    const char* name;
    const char* text;
    bool persistent;
    const char* report;  // what the text says after the siphons
  };
  const Case cases[] = {
      // The enzymatic futile cycle (phosphorylation by E, dephosphorylation
      // by F): persistent, its three minimal siphons each hold a semiflow.
      {"futile cycle",
       "S0 + E -> ES0;\nES0 -> S0 + E;\nES0 -> S1 + E;\n"
       "S1 + F -> FS1;\nFS1 -> S1 + F;\nFS1 -> S0 + F;",
       true,
       "Structurally persistent: every minimal siphon contains the support of a P-semiflow, and "
       "the network is conservative\n"},
      // Reversible Michaelis-Menten, S + E <-> C <-> P + E: persistent.
      {"reversible enzyme", "S + E -> C;\nC -> S + E;\nC -> P + E;\nP + E -> C;", true,
       "Structurally persistent: every minimal siphon contains the support of a P-semiflow, and "
       "the network is conservative\n"},
      // With the product released for good, S + E <-> C -> P + E: the
      // substrate is used up, and the siphon {S, C} holds no semiflow.
      {"irreversible enzyme", "S + E -> C;\nC -> S + E;\nC -> P + E;", false,
       "Minimal siphons that contain the support of no P-semiflow (persistence not shown):\n"
       "\t{C, S}\n"},
      // No siphon at all, but inflow and outflow: the criterion holds
      // vacuously and the network is not conservative.
      {"open", "-> A;\nA -> B;\nB -> ;", false,
       "Every minimal siphon contains the support of a P-semiflow, but the network is not "
       "conservative: persistence is shown for its bounded trajectories only\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    crninv::Network network = crninv::parse_network(c.text);
    Verdict v = judge(network);
    EXPECT_EQ(v.persistence.persistent(), c.persistent);
    std::string text = crninv::siphons_report_text(network, v.siphons, &v.persistence);
    EXPECT_EQ(text.substr(crninv::siphons_text(network, v.siphons).size()), c.report);
  }
}

TEST(PersistenceJson, PositionsFollowTheText) {
  crninv::Network network = crninv::parse_network("S + E -> C;\nC -> S + E;\nC -> P + E;");
  Verdict v = judge(network);
  EXPECT_EQ(crninv::siphons_report_json(network, v.siphons, &v.persistence),
            "{\"species\": [{\"index\": 0, \"name\": \"S\"}, {\"index\": 1, \"name\": \"E\"}, "
            "{\"index\": 2, \"name\": \"C\"}, {\"index\": 3, \"name\": \"P\"}],\n"
            " \"reactions\": [{\"index\": 0, \"name\": \"(reaction 1)\"}, {\"index\": 1, \"name\": "
            "\"(reaction 2)\"}, {\"index\": 2, \"name\": \"(reaction 3)\"}],\n"
            " \"siphons\": [\n"
            "  [\"C\", \"E\"],\n"
            "  [\"C\", \"S\"]\n"
            " ],\n"
            " \"persistence\": {\"structurally_persistent\": false, "
            "\"every_siphon_holds_a_semiflow\": false, \"conservative\": true, "
            "\"without_semiflow\": [1]}}\n");
}

TEST(PersistenceProperty, SiphonHoldsAMinimalSemiflow) {
  std::mt19937 random(598);
  for (int trial = 0; trial < 150; ++trial) {
    SCOPED_TRACE(trial);
    std::string text = random_network_text(random, 2 + trial % 6, 2 + trial % 6);
    std::string path = write_temp_file(text);
    crninv::Network network = crninv::parse_network(text);
    SemiflowList semiflows = minimal_semiflows_of(path, network, false, 100000);
    ASSERT_TRUE(semiflows.complete);
    Verdict v = judge(network);
    std::vector<uint32_t> expected;
    for (uint32_t i = 0; i < v.siphons.sets.size(); ++i) {
      const auto& set = v.siphons.sets[i];
      bool holds = std::any_of(semiflows.supports.begin(), semiflows.supports.end(),
                               [&](const std::vector<uint32_t>& support) {
                                 return std::includes(set.begin(), set.end(), support.begin(),
                                                      support.end());
                               });
      if (!holds) expected.push_back(i);
    }
    EXPECT_EQ(v.persistence.without_semiflow, expected);
  }
}

}  // namespace
