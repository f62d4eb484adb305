// The structure of a reaction network as chemical reaction network theory
// reads it: its complexes and the reaction graph on them, the linkage
// classes and strong linkage classes, the rank of N and the deficiency, and
// what the deficiency zero and deficiency one theorems and the criterion of
// absolute concentration robustness conclude for mass-action kinetics.
//
// A complex is what stands on one side of a reaction, as a multiset of
// species: the terms of a side summed per species, terms of coefficient 0
// dropped, so that "A + A" and "2 A" are one complex, "0 X" stands for
// nothing, and "A + B" and "B + A" are one complex. The empty complex (an
// inflow's left side, an outflow's right side) is a complex like any
// other. A reaction whose two sides are the same complex (A + E -> E + A)
// is a loop of the reaction graph: it changes neither the classes nor the
// deficiency.
//
// References: M. Feinberg, Lectures on Chemical Reaction Networks
// (Mathematics Research Center, Univ. of Wisconsin, 1979); M. Feinberg,
// Chemical reaction network structure and the stability of complex
// isothermal reactors I, Chem. Eng. Sci. 42 (1987) 2229-2268; M. Feinberg,
// The existence and uniqueness of steady states for a class of chemical
// reaction networks, Arch. Rational Mech. Anal. 132 (1995) 311-370;
// F. Horn and R. Jackson, General mass action kinetics, Arch. Rational
// Mech. Anal. 47 (1972) 81-116; G. Shinar and M. Feinberg, Structural
// sources of robustness in biochemical reaction networks, Science 327
// (2010) 1389-1391.
#ifndef CRNINV_STRUCTURE_H_
#define CRNINV_STRUCTURE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "crninv/control.h"
#include "crninv/network.h"

namespace crninv {

// Complexes, linkage classes and strong linkage classes are numbered from 0
// in the order of their first appearance: complexes as the sides come
// (reaction 0's left side, its right side, reaction 1's left side, ...),
// classes by their smallest complex. Every list of indices below ascends.

struct LinkageClass {
  std::vector<uint32_t> complexes;
  std::vector<uint32_t> reactions;
  std::vector<uint32_t> strong_classes;
  uint32_t rank = 0;        // of the reaction vectors of its reactions
  uint32_t deficiency = 0;  // complexes - 1 - rank
  uint32_t terminal_classes = 0;
};

struct StrongClass {
  std::vector<uint32_t> complexes;
  uint32_t linkage_class = 0;
  bool terminal = false;  // no reaction leaves it
};

// Deficiency zero theorem (Feinberg 1979, Feinberg 1987; the
// complex balanced equilibria after Horn and Jackson 1972).
struct DeficiencyZeroVerdict {
  enum Outcome {
    kNotApplicable,            // the deficiency is not zero
    kNoPositiveEquilibrium,    // zero, and not weakly reversible
    kUniqueStableEquilibrium,  // zero, and weakly reversible
  };
  Outcome outcome = kNotApplicable;
  std::string wording;  // the conclusion as the theorem states it, or why it does not apply
};

// Deficiency one theorem (Feinberg 1987, Feinberg 1995).
struct DeficiencyOneVerdict {
  enum Outcome {
    kDeficiencyZero,         // the deficiency zero theorem says more
    kNotApplicable,          // a condition below fails
    kAtMostOneEquilibrium,   // conditions hold, not weakly reversible
    kExactlyOneEquilibrium,  // conditions hold, weakly reversible
  };
  Outcome outcome = kNotApplicable;
  // The conditions, each linkage class's deficiency at most one, their sum
  // the network's deficiency, and one terminal strong linkage class in
  // each linkage class: the classes that break the first and the third.
  std::vector<uint32_t> classes_above_one;
  uint64_t class_deficiency_sum = 0;
  std::vector<uint32_t> classes_with_several_terminals;
  std::string wording;
};

// A species with absolute concentration robustness by the criterion of
// Shinar and Feinberg (2010), with two non-terminal complexes that differ
// in it alone (the first of them in the order of complexes).
struct RobustSpecies {
  uint32_t species = 0;
  uint32_t complexes[2] = {0, 0};
};

struct RobustnessVerdict {
  bool applies = false;                // the deficiency is one
  std::vector<RobustSpecies> species;  // ascending by species
  std::string wording;
};

struct Structure {
  // Each complex its terms by ascending species, each coefficient positive;
  // the empty complex has none.
  std::vector<std::vector<Term>> complexes;
  // Reaction j goes from complex reactant[j] to complex product[j].
  std::vector<uint32_t> reactant, product;
  // Of each complex.
  std::vector<uint32_t> linkage_class_of, strong_class_of;
  std::vector<LinkageClass> linkage_classes;
  std::vector<StrongClass> strong_classes;
  uint32_t terminal_classes = 0;
  uint32_t rank = 0;               // s, the rank of N over the rationals
  uint32_t deficiency = 0;         // n - l - s, never negative
  bool reversible = false;         // each reaction's reverse is a reaction too
  bool weakly_reversible = false;  // each linkage class strongly connected
  DeficiencyZeroVerdict deficiency_zero;
  DeficiencyOneVerdict deficiency_one;
  RobustnessVerdict robustness;
};

// The structure of a network. The rank is exact. Progress comes as stage
// kReduction while ranks are computed; throws Cancelled when the callback
// asks to stop, OutOfMemory past Control::memory_budget, and Overflow
// (kAdditionOverflow) when a complex's coefficient of a species passes
// 64 bits.
Structure structure(const Network& network, const Control& control = {});

// The report for a reader: headings, one item a line, ended by a newline;
// the same bytes for the same network.
std::string structure_text(const Network& network, const Structure& structure);

// The same as one JSON document (keys in man crninv, --structure).
std::string structure_json(const Network& network, const Structure& structure);

}  // namespace crninv

#endif  // CRNINV_STRUCTURE_H_
