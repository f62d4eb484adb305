// The structure of random small networks against a plain reference
// computed here: complexes as maps from species to coefficient, components
// by breadth-first search, strong components by mutual reachability,
// terminal ones by "everything reachable reaches back", ranks by dense
// elimination over the rationals, weak reversibility as "each reaction's
// product reaches its reactant". The sides are written in every form that
// names one complex: terms in any order, split ("A + A" for "2 A"), with
// terms of coefficient 0, and reactions whose sides are one complex.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "crninv/errors.h"
#include "crninv/structure.h"
#include "tests/structure_reference.h"

namespace {

using crninv::Network;
using crninv::Structure;
using Complex = std::map<uint32_t, int64_t>;  // species -> coefficient, none 0

struct Case {
  uint32_t species = 0;
  std::vector<Complex> left, right;  // of each reaction, as drawn
  Network network;
};

// Writes the complex as the terms of one side, in a random form.
void write_side(std::mt19937& random, crninv::NetworkBuilder& builder, uint32_t j, const Complex& c,
                uint32_t species, bool product) {
  std::vector<crninv::Term> terms;
  for (auto [k, n] : c) {
    if (n > 1 && random() % 2 == 0) {
      terms.push_back({k, 1});
      terms.push_back({k, n - 1});
    } else {
      terms.push_back({k, n});
    }
  }
  if (random() % 4 == 0) terms.push_back({static_cast<uint32_t>(random() % species), 0});
  std::shuffle(terms.begin(), terms.end(), random);
  for (const crninv::Term& t : terms) builder.add_term(j, t.species, t.coefficient, product);
}

Case random_case(std::mt19937& random) {
  Case c;
  c.species = 1 + random() % 3;
  std::vector<Complex> pool(1 + random() % 6);
  for (Complex& x : pool) {
    for (uint32_t k = 0; k < c.species; ++k) {
      if (int64_t n = random() % 4 == 0 ? 0 : random() % 3; n > 0) x[k] = n;
    }
  }
  uint32_t R = random() % 9;
  for (uint32_t j = 0; j < R; ++j) {
    const Complex& a = pool[random() % pool.size()];
    const Complex& b = pool[random() % pool.size()];
    c.left.push_back(a);
    c.right.push_back(b);
    if (j + 1 < R && random() % 3 == 0) {  // its reverse next
      c.left.push_back(b);
      c.right.push_back(a);
      ++j;
    }
  }
  crninv::NetworkBuilder builder;
  std::vector<std::string> species, reactions;
  for (uint32_t k = 0; k < c.species; ++k) species.push_back("X" + std::to_string(k));
  for (uint32_t j = 0; j < c.left.size(); ++j) {
    write_side(random, builder, j, c.left[j], c.species, false);
    write_side(random, builder, j, c.right[j], c.species, true);
    reactions.push_back("r" + std::to_string(j));
  }
  c.network = builder.finish(species, reactions);
  return c;
}

// The reference: reach[a][b] when b can be reached from a along reactions.
struct Reference {
  std::vector<Complex> complexes;  // by the library's numbering
  std::vector<std::vector<bool>> reach, linked;
  std::vector<bool> terminal;  // of each complex: in a terminal strong class
  std::vector<std::vector<int64_t>> vectors;
};

Reference reference(const Case& c, const Structure& s) {
  Reference r;
  size_t n = s.complexes.size();
  r.complexes.resize(n);
  for (size_t j = 0; j < c.left.size(); ++j) {
    r.complexes[s.reactant[j]] = c.left[j];
    r.complexes[s.product[j]] = c.right[j];
    std::vector<int64_t> v(c.species, 0);
    for (auto [k, m] : c.right[j]) v[k] += m;
    for (auto [k, m] : c.left[j]) v[k] -= m;
    r.vectors.push_back(v);
  }
  r.reach.assign(n, std::vector<bool>(n, false));
  r.linked.assign(n, std::vector<bool>(n, false));
  // Breadth-first from each complex, along arcs (reach) and either way (linked).
  for (size_t start = 0; start < n; ++start) {
    for (auto* seen : {&r.reach, &r.linked}) {
      std::vector<size_t> queue{start};
      (*seen)[start][start] = true;
      for (size_t q = 0; q < queue.size(); ++q) {
        for (size_t j = 0; j < c.left.size(); ++j) {
          uint32_t a = s.reactant[j], b = s.product[j];
          for (auto [from, to] : {std::make_pair(a, b), std::make_pair(b, a)}) {
            if (seen == &r.reach && from != a) continue;
            if (from == queue[q] && !(*seen)[start][to]) {
              (*seen)[start][to] = true;
              queue.push_back(to);
            }
          }
        }
      }
    }
  }
  r.terminal.assign(n, true);
  for (size_t a = 0; a < n; ++a) {
    for (size_t b = 0; b < n; ++b) {
      if (r.reach[a][b] && !r.reach[b][a]) r.terminal[a] = false;
    }
  }
  return r;
}

uint32_t rank_of(const Reference& r, const std::vector<uint32_t>& reactions) {
  std::vector<std::vector<int64_t>> rows;
  for (uint32_t j : reactions) rows.push_back(r.vectors[j]);
  return rational_rank(rows);
}

// Complexes, classes and their numbering.
void check_classes(const Case& c, const Structure& s, const Reference& r) {
  size_t n = s.complexes.size();
  std::set<Complex> distinct(c.left.begin(), c.left.end());
  distinct.insert(c.right.begin(), c.right.end());
  ASSERT_EQ(n, distinct.size());
  auto as_map = [&](uint32_t i) {
    Complex written;
    for (const crninv::Term& t : s.complexes[i]) written[t.species] = t.coefficient;
    EXPECT_EQ(written.size(), s.complexes[i].size()) << "a species twice in complex " << i;
    return written;
  };
  for (size_t j = 0; j < c.left.size(); ++j) {
    EXPECT_EQ(as_map(s.reactant[j]), c.left[j]) << "reaction " << j;
    EXPECT_EQ(as_map(s.product[j]), c.right[j]) << "reaction " << j;
  }
  for (size_t a = 0; a < n; ++a) {
    for (size_t b = 0; b < n; ++b) {
      EXPECT_EQ(s.linkage_class_of[a] == s.linkage_class_of[b], r.linked[a][b]);
      EXPECT_EQ(s.strong_class_of[a] == s.strong_class_of[b], r.reach[a][b] && r.reach[b][a]);
    }
    EXPECT_EQ(s.strong_classes[s.strong_class_of[a]].terminal, r.terminal[a]) << "complex " << a;
  }
  // Classes numbered by their smallest complex.
  for (const auto* of : {&s.linkage_class_of, &s.strong_class_of}) {
    uint32_t next = 0;
    for (uint32_t x : *of) {
      EXPECT_LE(x, next);
      if (x == next) ++next;
    }
  }
}

void check_deficiencies(const Case& c, const Structure& s, const Reference& r) {
  std::vector<uint32_t> all(c.left.size());
  for (uint32_t j = 0; j < all.size(); ++j) all[j] = j;
  uint32_t rank = rank_of(r, all);
  EXPECT_EQ(s.rank, rank);
  EXPECT_EQ(s.deficiency, s.complexes.size() - s.linkage_classes.size() - rank);
  for (const crninv::LinkageClass& l : s.linkage_classes) {
    uint32_t class_rank = rank_of(r, l.reactions);
    EXPECT_EQ(l.rank, class_rank);
    EXPECT_EQ(l.deficiency, l.complexes.size() - 1 - class_rank);
    uint32_t terminal = 0;
    for (uint32_t k : l.strong_classes) terminal += s.strong_classes[k].terminal;
    EXPECT_EQ(l.terminal_classes, terminal);
  }
}

void check_reversibility(const Case& c, const Structure& s, const Reference& r) {
  bool reversible = true, weakly = true;
  for (size_t j = 0; j < c.left.size(); ++j) {
    bool reverse = false;
    for (size_t i = 0; i < c.left.size(); ++i) {
      reverse = reverse || (c.left[i] == c.right[j] && c.right[i] == c.left[j]);
    }
    reversible = reversible && reverse;
    weakly = weakly && r.reach[s.product[j]][s.reactant[j]];
  }
  EXPECT_EQ(s.reversible, reversible);
  EXPECT_EQ(s.weakly_reversible, weakly);
}

// The theorems' conditions read from the reference's facts.
void check_verdicts(const Structure& s) {
  using Zero = crninv::DeficiencyZeroVerdict;
  using One = crninv::DeficiencyOneVerdict;
  Zero::Outcome zero = s.deficiency != 0     ? Zero::kNotApplicable
                       : s.weakly_reversible ? Zero::kUniqueStableEquilibrium
                                             : Zero::kNoPositiveEquilibrium;
  EXPECT_EQ(s.deficiency_zero.outcome, zero);
  bool hold = true;
  uint32_t sum = 0;
  for (const crninv::LinkageClass& l : s.linkage_classes) {
    hold = hold && l.deficiency <= 1 && l.terminal_classes == 1;
    sum += l.deficiency;
  }
  hold = hold && sum == s.deficiency;
  One::Outcome one = s.deficiency == 0     ? One::kDeficiencyZero
                     : !hold               ? One::kNotApplicable
                     : s.weakly_reversible ? One::kExactlyOneEquilibrium
                                           : One::kAtMostOneEquilibrium;
  EXPECT_EQ(s.deficiency_one.outcome, one);
  EXPECT_FALSE(s.deficiency_zero.wording.empty());
  EXPECT_FALSE(s.deficiency_one.wording.empty());
}

// Every pair of non-terminal complexes whose difference is one species.
void check_robustness(const Structure& s, const Reference& r) {
  ASSERT_EQ(s.robustness.applies, s.deficiency == 1);
  std::map<uint32_t, std::pair<uint32_t, uint32_t>> expected;
  for (uint32_t a = 0; s.deficiency == 1 && a < r.complexes.size(); ++a) {
    for (uint32_t b = a + 1; b < r.complexes.size(); ++b) {
      if (r.terminal[a] || r.terminal[b]) continue;
      Complex d = r.complexes[a];
      for (auto [k, m] : r.complexes[b]) d[k] -= m;
      for (auto it = d.begin(); it != d.end();) it = it->second == 0 ? d.erase(it) : ++it;
      if (d.size() == 1) expected.emplace(d.begin()->first, std::make_pair(a, b));
    }
  }
  std::map<uint32_t, std::pair<uint32_t, uint32_t>> got;
  for (const crninv::RobustSpecies& x : s.robustness.species) {
    got.emplace(x.species, std::make_pair(x.complexes[0], x.complexes[1]));
  }
  EXPECT_EQ(got, expected);
}

TEST(StructureProperty, RandomSmallNetworksMatchThePlainReference) {
  std::mt19937 random(20240611);
  std::set<int> zero_outcomes, one_outcomes;
  int robust = 0;
  for (int round = 0; round < 600; ++round) {
    Case c = random_case(random);
    Structure s = crninv::structure(c.network);
    Reference r = reference(c, s);
    SCOPED_TRACE("round " + std::to_string(round) + "\n" + crninv::structure_text(c.network, s));
    check_classes(c, s, r);
    check_deficiencies(c, s, r);
    check_reversibility(c, s, r);
    check_verdicts(s);
    check_robustness(s, r);
    zero_outcomes.insert(s.deficiency_zero.outcome);
    one_outcomes.insert(s.deficiency_one.outcome);
    robust += !s.robustness.species.empty();
    if (HasFailure()) break;
  }
  // The draws reach every outcome, robust species included.
  EXPECT_EQ(zero_outcomes.size(), 3u);
  EXPECT_EQ(one_outcomes.size(), 4u);
  EXPECT_GT(robust, 0);
}

// The builder's net change stays small (X on both sides) while the left
// side's own sum of X passes 64 bits.
TEST(StructureProperty, SideCoefficientsPast64BitsThrowOverflow) {
  crninv::NetworkBuilder builder;
  builder.add_term(0, 0, INT64_MAX, false);
  builder.add_term(0, 0, INT64_MAX, true);
  builder.add_term(0, 0, 5, false);
  Network network = builder.finish({"X"}, {"r"});
  EXPECT_THROW(crninv::structure(network), crninv::Overflow);
}

}  // namespace
