// Conserved moieties checked against what they must be, in exact rational
// arithmetic: every law is conserved by every reaction, there are as many
// as the species less the rank of N (the rank from the structure's own
// elimination), each law eliminates its first species and no other law
// holds it, N = L Nr entry by entry, and nothing changes when the
// reactions come in another order. On random networks, on networks whose
// laws pass 64 bits, and on hand-made ones.
#include "crninv/moieties.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "crninv/network.h"
#include "crninv/structure.h"
#include "crninv/text_format.h"
#include "tests/support/random_networks.h"

namespace {

using namespace crninv;

using Dense = std::vector<std::vector<mpq_class>>;

mpq_class value(const Integer& v) {
  return mpq_class(v.to_string());
}

Dense dense(const SparseMatrix& a) {
  Dense d(a.rows, std::vector<mpq_class>(a.columns));
  for (uint32_t i = 0; i < a.rows; ++i) {
    a.for_each_in_row(i, [&](uint32_t j, int64_t v) { d[i][j] = v; });
  }
  return d;
}

Dense dense(const IntegerRows& rows, uint32_t columns) {
  Dense d(rows.size(), std::vector<mpq_class>(columns));
  for (uint32_t i = 0; i < rows.size(); ++i) {
    for (uint64_t e = rows.start[i]; e < rows.start[i + 1]; ++e) {
      d[i][rows.column[e]] = value(rows.at(e));
    }
  }
  return d;
}

// L whole: species by independent species.
Dense link_matrix(const ConservedMoieties& m, uint32_t species) {
  Dense l(species, std::vector<mpq_class>(m.independent.size()));
  for (uint32_t i = 0; i < m.independent.size(); ++i) l[m.independent[i]][i] = 1;
  Dense rows = dense(m.link, static_cast<uint32_t>(m.independent.size()));
  for (uint32_t k = 0; k < m.dependent.size(); ++k) {
    for (uint32_t i = 0; i < m.independent.size(); ++i) {
      l[m.dependent[k]][i] = rows[k][i] / value(m.denominator[k]);
    }
  }
  return l;
}

// Every property of the moieties of network; "" when all hold.
std::string check(const Network& network) {
  uint32_t S = network.species_count(), R = network.reaction_count();
  ConservedMoieties m = conserved_moieties(network);
  Dense n = dense(network.stoichiometry());
  Dense laws = dense(m.laws, S);
  uint32_t rank = structure(network).rank;
  if (m.laws.size() != S - rank) return "laws: " + std::to_string(m.laws.size());
  if (m.dependent.size() != m.laws.size() || m.link.size() != m.laws.size() ||
      m.denominator.size() != m.laws.size() || m.dependent.size() + m.independent.size() != S) {
    return "sizes";
  }
  for (uint32_t k = 0; k < m.laws.size(); ++k) {
    for (uint32_t j = 0; j < R; ++j) {
      mpq_class sum = 0;
      for (uint32_t s = 0; s < S; ++s) sum += laws[k][s] * n[s][j];
      if (sum != 0) return "law " + std::to_string(k) + " not conserved";
    }
    uint64_t lead = m.laws.start[k];
    if (m.laws.column[lead] != m.dependent[k]) return "not the first species";
    if (m.laws.at(lead).sign() <= 0 || m.laws.at(lead) != m.denominator[k]) return "leading entry";
    mpz_class g = 0;
    for (uint64_t e = lead; e < m.laws.start[k + 1]; ++e) g = gcd(g, value(m.laws.at(e)).get_num());
    if (g != 1) return "law not primitive";
    for (uint32_t other = 0; other < m.laws.size(); ++other) {
      if (other != k && laws[other][m.dependent[k]] != 0) return "eliminated twice";
    }
  }
  std::vector<uint32_t> all(m.dependent);
  all.insert(all.end(), m.independent.begin(), m.independent.end());
  std::sort(all.begin(), all.end());
  std::vector<uint32_t> expected(S);
  std::iota(expected.begin(), expected.end(), 0);
  if (all != expected || !std::is_sorted(m.dependent.begin(), m.dependent.end()) ||
      !std::is_sorted(m.independent.begin(), m.independent.end())) {
    return "species not split";
  }
  Dense l = link_matrix(m, S);
  Dense nr = dense(reduced_stoichiometry(network, m));
  for (uint32_t s = 0; s < S; ++s) {
    for (uint32_t j = 0; j < R; ++j) {
      mpq_class sum = 0;
      for (uint32_t i = 0; i < m.independent.size(); ++i) sum += l[s][i] * nr[i][j];
      if (sum != n[s][j]) return "N != L Nr";
    }
  }
  return "";
}

// The network with its reactions in the order given.
Network permuted(const Network& network, const std::vector<uint32_t>& order) {
  NetworkBuilder builder;
  std::vector<std::string> names;
  for (uint32_t j = 0; j < order.size(); ++j) {
    for (const Term& t : network.reactants(order[j]))
      builder.add_term(j, t.species, t.coefficient, false);
    for (const Term& t : network.products(order[j]))
      builder.add_term(j, t.species, t.coefficient, true);
    names.push_back(network.reactions()[order[j]]);
  }
  return builder.finish(network.species(), names);
}

bool same(const ConservedMoieties& a, const ConservedMoieties& b) {
  return a.dependent == b.dependent && a.independent == b.independent &&
         a.laws.start == b.laws.start && a.laws.column == b.laws.column &&
         a.laws.value == b.laws.value && a.laws.wider == b.laws.wider &&
         a.link.column == b.link.column && a.link.value == b.link.value &&
         a.link.wider == b.link.wider && a.denominator == b.denominator;
}

TEST(Moieties, RandomNetworks) {
  std::mt19937 random(18);
  for (int round = 0; round < 300; ++round) {
    uint32_t species = 1 + random() % 9, reactions = random() % 9;
    Network network = parse_network(random_network_text(random, species, reactions));
    std::string text = "round " + std::to_string(round);
    ASSERT_EQ(check(network), "") << text;
    std::vector<uint32_t> order(network.reaction_count());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    ASSERT_TRUE(same(conserved_moieties(network), conserved_moieties(permuted(network, order))))
        << text;
  }
}

// A chain A -> k B, B -> k C, ...: the law k^n A + ... + k B + C, whose
// coefficients pass 64 bits.
TEST(Moieties, LawsPast64Bits) {
  for (int64_t k : {int64_t{3}, int64_t{1} << 40}) {
    NetworkBuilder builder;
    for (uint32_t j = 0; j < 4; ++j) {
      builder.add_term(j, j, 1, false);
      builder.add_term(j, j + 1, k, true);
    }
    Network network = builder.finish({"A", "B", "C", "D", "E"}, {"r1", "r2", "r3", "r4"});
    ASSERT_EQ(check(network), "") << k;
    ConservedMoieties m = conserved_moieties(network);
    ASSERT_EQ(m.dependent, std::vector<uint32_t>{0});
    mpz_class power = 1;
    for (int i = 0; i < 4; ++i) power *= k;
    EXPECT_EQ(value(m.denominator[0]), power);
    EXPECT_EQ(m.denominator[0].fits_int64(), k == 3);
  }
}

struct Expected {
  const char* text;
  std::vector<std::string> dependent, independent;
};

TEST(Moieties, HandMade) {
  const Expected cases[] = {
      // Hydrogen and oxygen atoms: H2 and O2 are eliminated.
      {"2 H2 + O2 -> 2 H2O;\nH2 -> 2 H;\nH + O2 -> OH + O;\nO + H2 -> OH + H;\n",
       {"H2", "O2"},
       {"H2O", "H", "OH", "O"}},
      // An inflow and an outflow: no law.
      {"-> A;\nA -> ;\n", {}, {"A"}},
      // An enzyme and its complex; the substrate and product pool.
      {"E + S -> ES;\nES -> E + S;\nES -> E + P;\n", {"E", "S"}, {"ES", "P"}},
      // A species that no reaction changes is its own law.
      {"A + X -> B + X;\nB -> A;\n", {"A", "X"}, {"B"}},
  };
  for (const Expected& c : cases) {
    Network network = parse_network(c.text);
    ASSERT_EQ(check(network), "") << c.text;
    ConservedMoieties m = conserved_moieties(network);
    std::vector<std::string> dependent, independent;
    for (uint32_t s : m.dependent) dependent.push_back(network.species()[s]);
    for (uint32_t s : m.independent) independent.push_back(network.species()[s]);
    EXPECT_EQ(dependent, c.dependent) << c.text;
    EXPECT_EQ(independent, c.independent) << c.text;
  }
}

}  // namespace
