// Covering by P- and T-semiflows: the covered sets against the union of the
// minimal semiflows' supports that the program lists, on random small
// networks and on the shared ones; every certificate checked on its own;
// the verdicts and the writers.
#include "crninv/covering.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>

#include "crninv/errors.h"
#include "crninv/text_format.h"
#include "tests/support/random_networks.h"
#include "tests/support/semiflow_oracle.h"
#include "tests/test_util.h"

namespace {

// The certificate, checked apart from the library: positive exactly on
// covered, and y A = 0 in GMP integers (A = N, or N^T for reactions).
void expect_certificate(const crninv::Network& network, const crninv::CoveredSet& set,
                        bool reactions) {
  const crninv::IntegerRows& row = set.certificate;
  if (set.covered.empty()) {
    EXPECT_EQ(row.size(), 0u);
    return;
  }
  ASSERT_EQ(row.size(), 1u);
  ASSERT_EQ(std::vector<uint32_t>(row.column.begin(), row.column.end()), set.covered);
  const crninv::SparseMatrix& n = network.stoichiometry();
  std::vector<mpz_class> sum(reactions ? n.rows : n.columns);
  for (uint64_t e = 0; e < row.nonzeros(); ++e) {
    mpz_class y(row.at(e).to_string());
    EXPECT_GT(y, 0);
    uint32_t k = row.column[e];
    for (uint32_t i = 0; i < n.rows; ++i) {
      n.for_each_in_row(i, [&](uint32_t j, int64_t v) {
        if (reactions && j == k) sum[i] += y * mpz_class(static_cast<long>(v));
        if (!reactions && i == k) sum[j] += y * mpz_class(static_cast<long>(v));
      });
    }
  }
  for (const mpz_class& s : sum) EXPECT_EQ(s, 0);
}

void expect_matches_semiflows(const std::string& path, uint64_t cap) {
  crninv::Network network = crninv::read_network(path);
  crninv::Covering covering = crninv::covering(network, crninv::Control());
  expect_certificate(network, covering.species, false);
  expect_certificate(network, covering.reactions, true);
  SemiflowList p = minimal_semiflows_of(path, network, false, cap);
  if (p.complete) {
    EXPECT_EQ(covering.species.covered, union_of_supports(p));
  }
  SemiflowList t = minimal_semiflows_of(path, network, true, cap);
  if (t.complete) {
    EXPECT_EQ(covering.reactions.covered, union_of_supports(t));
  }
  EXPECT_EQ(covering.conservative, covering.species.covered.size() == network.species_count());
  EXPECT_EQ(covering.consistent, covering.reactions.covered.size() == network.reaction_count());
}

TEST(CoveringProperty, RandomNetworksMatchTheSemiflows) {
  std::mt19937 random(2007);
  for (int trial = 0; trial < 200; ++trial) {
    SCOPED_TRACE(trial);
    std::string path = write_temp_file(random_network_text(random, 2 + trial % 6, 2 + trial % 7));
    expect_matches_semiflows(path, 100000);
  }
}

TEST(CoveringShared, MatchTheSemiflowsWhereTheyComplete) {
  for (const std::string& path :
       test_nets({"mini.net", "e_coli_core.net", "iJO1366.net", "mcc/Raft-PT-02.net",
                  "mcc/Referendum-PT-1000.net", "mcc/TokenRing-PT-005.net",
                  "mcc/DBSingleClientW-PT-d0m06.net", "mcc/RwMutex-PT-r0010w0500.net",
                  "mcc/Sudoku-PT-BN09.net", "mcc/CloudDeployment-PT-5b.net",
                  "mcc/PhaseVariation-PT-D20CS010.net", "mcc/ProductionCell-PT-none.net",
                  "mcc/TriangularGrid-PT-2011.net", "mcc/RefineWMG-PT-025026.net"})) {
    SCOPED_TRACE(path);
    expect_matches_semiflows(path, 100000);
  }
}

TEST(CoveringVerdicts, TextAndJson) {
  // A <-> B is conservative and consistent; C -> D adds a species covered
  // (C + D) and a reaction no T-semiflow covers.
  crninv::Network network = crninv::parse_network("f: A -> B;\nb: B -> A;\no: 2 C -> D;");
  crninv::Covering covering = crninv::covering(network, crninv::Control());
  EXPECT_TRUE(covering.conservative);
  EXPECT_FALSE(covering.consistent);
  EXPECT_EQ(crninv::covering_text(network, covering),
            "Species covered by a P-semiflow (4 of 4):\n\t{A, B, C, D}\n"
            "Species covered by none:\n\t{}\n"
            "Conservative: yes\n"
            "Certificate, a P-semiflow of largest support:\n\t+1 A +1 B +1 C +2 D\n"
            "Reactions covered by a T-semiflow (2 of 3):\n\t{b, f}\n"
            "Reactions covered by none:\n\t{o}\n"
            "Consistent: no\n"
            "Certificate, a T-semiflow of largest support:\n\t+1 f +1 b\n");
  std::string json = crninv::covering_json(network, covering);
  EXPECT_NE(json.find("\"reactions\": {\"covered\": [0, 1], \"not_covered\": [2], "
                      "\"consistent\": false, \"certificate\": [{\"index\": 0, \"name\": \"f\", "
                      "\"coefficient\": 1}, {\"index\": 1, \"name\": \"b\", \"coefficient\": 1}]}"),
            std::string::npos)
      << json;
}

TEST(CoveringLimits, MemoryAndCancellation) {
  crninv::Network network = crninv::parse_network("f: A -> B;\nb: B -> A;\no: 2 C -> D;");
  crninv::Control tight;
  tight.memory_budget = 100;
  EXPECT_THROW(crninv::covering(network, tight), crninv::OutOfMemory);
  crninv::Control stop;
  stop.progress = [](const crninv::Progress& p) { return p.stage != crninv::Progress::kCovering; };
  EXPECT_THROW(crninv::covering(network, stop), crninv::Cancelled);
}

}  // namespace
