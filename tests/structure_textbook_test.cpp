// Networks whose structure and verdicts the literature gives, and a few
// small ones whose equations settle the verdict by hand: the counts, the
// deficiency of each linkage class, the two reversibility flags, and what
// the deficiency zero and one theorems and the Shinar-Feinberg criterion
// conclude there.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "crninv/structure.h"
#include "crninv/text_format.h"

namespace {

using One = crninv::DeficiencyOneVerdict;
using Zero = crninv::DeficiencyZeroVerdict;

struct Textbook {
  const char* name;
  const char* text;
  uint32_t complexes, linkage_classes, rank, deficiency;
  std::vector<uint32_t> class_deficiencies;
  bool reversible, weakly_reversible;
  Zero::Outcome zero;
  One::Outcome one;
  std::vector<std::string> robust;  // species with absolute concentration robustness
};

// Shown by its name, so that the tests' names stay the same from build to
// build (a raw dump would show addresses).
void PrintTo(const Textbook& t, std::ostream* out) {
  *out << t.name;
}

const Textbook kCases[] = {
    // The running example of Feinberg's lectures (1979) and review (1987):
    // deficiency zero and weakly reversible, so one stable equilibrium in
    // each positive compatibility class, whatever the rate constants.
    {"FeinbergRunningExample",
     "A -> 2 B;\n2 B -> A;\nA + C -> D;\nD -> A + C;\nD -> B + E;\nB + E -> A + C;\n",
     5,
     2,
     3,
     0,
     {0, 0},
     false,
     true,
     Zero::kUniqueStableEquilibrium,
     One::kDeficiencyZero,
     {}},
    // Three isomers in a cycle, the simplest complex balanced system of
    // Horn and Jackson (1972): weakly reversible but not reversible.
    {"HornJacksonCycle",
     "A -> B;\nB -> C;\nC -> A;\n",
     3,
     1,
     2,
     0,
     {0},
     false,
     true,
     Zero::kUniqueStableEquilibrium,
     One::kDeficiencyZero,
     {}},
    // Deficiency zero, not weakly reversible (C -> 2A one way): no positive
    // equilibrium for any kinetics (Feinberg 1987).
    {"DeficiencyZeroOneWay",
     "A + B -> P;\nP -> A + B;\nB + C -> Q;\nQ -> B + C;\nC -> 2 A;\n",
     6,
     3,
     3,
     0,
     {0, 0, 0},
     false,
     false,
     Zero::kNoPositiveEquilibrium,
     One::kDeficiencyZero,
     {}},
    // Edelstein's network (Feinberg 1987): deficiency one, but both linkage
    // classes have deficiency zero, so the deficiency one theorem says
    // nothing; for some rate constants it has three equilibria in a class.
    {"Edelstein",
     "A -> 2 A;\n2 A -> A;\nA + B -> C;\nC -> A + B;\nC -> B;\nB -> C;\n",
     5,
     2,
     2,
     1,
     {0, 0},
     true,
     true,
     Zero::kNotApplicable,
     One::kNotApplicable,
     {}},
    // Shinar and Feinberg (2010), their first example: A + B -> 2B, B -> A.
    // Deficiency one; the non-terminal A + B and B differ in A alone, and
    // indeed A = k2/k1 at every positive equilibrium.
    {"ShinarFeinbergFirstExample",
     "A + B -> 2 B;\nB -> A;\n",
     4,
     2,
     1,
     1,
     {0, 0},
     false,
     false,
     Zero::kNotApplicable,
     One::kNotApplicable,
     {"A"}},
    // Shinar and Feinberg (2010), the EnvZ-OmpR osmoregulation model: the
    // non-terminal XT and XT + Yp differ in Yp alone, robust in Yp.
    {"ShinarFeinbergEnvZOmpR",
     "XD -> X;\nX -> XD;\nX -> XT;\nXT -> X;\nXT -> Xp;\nXp + Y -> XpY;\nXpY -> Xp + Y;\n"
     "XpY -> X + Yp;\nXT + Yp -> XTYp;\nXTYp -> XT + Yp;\nXTYp -> XT + Y;\n",
     10,
     3,
     6,
     1,
     {0, 0, 0},
     false,
     false,
     Zero::kNotApplicable,
     One::kNotApplicable,
     {"Yp"}},
    // 0 <-> A <-> 2A: one linkage class of deficiency one, weakly
    // reversible. dA/dt = k1 - (k2 - k3) A - k4 A^2 has exactly one positive
    // root, as the deficiency one theorem says.
    {"OneSpeciesDeficiencyOne",
     "-> A;\nA -> ;\nA -> 2 A;\n2 A -> A;\n",
     3,
     1,
     1,
     1,
     {1},
     true,
     true,
     Zero::kNotApplicable,
     One::kExactlyOneEquilibrium,
     {}},
    // 0 -> A <-> 2A: the same conditions, not weakly reversible: at most one
    // equilibrium (here k1 + k2 A - k3 A^2 = 0 has one positive root).
    {"OneSpeciesInflow",
     "-> A;\nA -> 2 A;\n2 A -> A;\n",
     3,
     1,
     1,
     1,
     {1},
     false,
     false,
     Zero::kNotApplicable,
     One::kAtMostOneEquilibrium,
     {}},
};

class TextbookTest : public testing::TestWithParam<Textbook> {};

TEST_P(TextbookTest, StructureAndVerdicts) {
  const Textbook& t = GetParam();
  crninv::Network network = crninv::parse_network(t.text);
  crninv::Structure s = crninv::structure(network);
  SCOPED_TRACE(crninv::structure_text(network, s));
  EXPECT_EQ(s.complexes.size(), t.complexes);
  EXPECT_EQ(s.linkage_classes.size(), t.linkage_classes);
  EXPECT_EQ(s.rank, t.rank);
  EXPECT_EQ(s.deficiency, t.deficiency);
  std::vector<uint32_t> deficiencies;
  for (const crninv::LinkageClass& l : s.linkage_classes) deficiencies.push_back(l.deficiency);
  EXPECT_EQ(deficiencies, t.class_deficiencies);
  EXPECT_EQ(s.reversible, t.reversible);
  EXPECT_EQ(s.weakly_reversible, t.weakly_reversible);
  EXPECT_EQ(s.deficiency_zero.outcome, t.zero);
  EXPECT_EQ(s.deficiency_one.outcome, t.one);
  std::vector<std::string> robust;
  for (const crninv::RobustSpecies& r : s.robustness.species) {
    robust.push_back(network.species()[r.species]);
  }
  EXPECT_EQ(robust, t.robust);
}

INSTANTIATE_TEST_SUITE_P(Literature, TextbookTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Textbook>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
