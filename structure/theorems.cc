#include "structure/theorems.h"

#include <string>

namespace crninv {

// Deficiency zero theorem (Feinberg's lectures 1979 and review 1987; the
// complex balanced equilibria and their stability after Horn and Jackson
// 1972). For a network of deficiency zero:
// - not weakly reversible: for any kinetics (rates positive exactly where
//   the reactants are present, mass action among them), no positive
//   equilibrium and no cyclic composition trajectory through a positive
//   composition;
// - weakly reversible: for mass action with any positive rate constants,
//   each positive stoichiometric compatibility class holds precisely one
//   equilibrium, complex balanced and asymptotically stable, and no
//   nontrivial cyclic trajectory runs through positive compositions.
DeficiencyZeroVerdict deficiency_zero_verdict(const Structure& s) {
  DeficiencyZeroVerdict v;
  if (s.deficiency != 0) {
    v.outcome = DeficiencyZeroVerdict::kNotApplicable;
    v.wording = "Does not apply: the deficiency is " + std::to_string(s.deficiency) + ", not 0.";
  } else if (s.weakly_reversible) {
    v.outcome = DeficiencyZeroVerdict::kUniqueStableEquilibrium;
    v.wording =
        "The deficiency is 0 and the network is weakly reversible: for mass-action kinetics "
        "with any positive rate constants, each positive stoichiometric compatibility class "
        "holds exactly one equilibrium; it is positive, complex balanced and locally "
        "asymptotically stable within its class, and no periodic orbit other than an "
        "equilibrium passes through positive concentrations.";
  } else {
    v.outcome = DeficiencyZeroVerdict::kNoPositiveEquilibrium;
    v.wording =
        "The deficiency is 0 and the network is not weakly reversible: for mass-action "
        "kinetics, and indeed for any kinetics, there is no positive equilibrium and no "
        "periodic orbit through positive concentrations.";
  }
  return v;
}

namespace {

constexpr char kOneConditions[] =
    "Each linkage class has deficiency at most 1, their deficiencies sum to the network's, and "
    "each linkage class holds exactly one terminal strong linkage class";

// "1 linkage class has", "3 linkage classes have".
std::string linkage_classes(size_t count) {
  return std::to_string(count) + (count == 1 ? " linkage class has" : " linkage classes have");
}

std::string failed_conditions(const DeficiencyOneVerdict& v, uint32_t deficiency) {
  std::string why;
  auto add = [&](const std::string& reason) { why += (why.empty() ? "" : "; ") + reason; };
  if (!v.classes_above_one.empty()) {
    add(linkage_classes(v.classes_above_one.size()) + " deficiency above 1");
  }
  if (v.class_deficiency_sum != deficiency) {
    add("the deficiencies of the linkage classes sum to " + std::to_string(v.class_deficiency_sum) +
        ", not to the network's " + std::to_string(deficiency));
  }
  if (!v.classes_with_several_terminals.empty()) {
    add(linkage_classes(v.classes_with_several_terminals.size()) +
        " more than one terminal strong linkage class");
  }
  return "Does not apply: " + why + ".";
}

}  // namespace

// Deficiency one theorem (Feinberg 1987; Feinberg 1995). When each linkage
// class has deficiency at most one, the linkage classes' deficiencies sum to the network's, and
// each linkage class holds exactly one terminal strong linkage class, then for mass action with any
// positive rate constants no positive stoichiometric compatibility class holds more than one
// equilibrium, and if there is a positive equilibrium each positive class holds exactly one; weakly
// reversible, there is one for every choice of rate constants. It says
// nothing of stability. At deficiency zero the conditions may hold too,
// but the deficiency zero theorem concludes more.
DeficiencyOneVerdict deficiency_one_verdict(const Structure& s) {
  DeficiencyOneVerdict v;
  for (uint32_t i = 0; i < s.linkage_classes.size(); ++i) {
    const LinkageClass& l = s.linkage_classes[i];
    if (l.deficiency > 1) v.classes_above_one.push_back(i);
    if (l.terminal_classes != 1) v.classes_with_several_terminals.push_back(i);
    v.class_deficiency_sum += l.deficiency;
  }
  bool hold = v.classes_above_one.empty() && v.class_deficiency_sum == s.deficiency &&
              v.classes_with_several_terminals.empty();
  if (s.deficiency == 0) {
    v.outcome = DeficiencyOneVerdict::kDeficiencyZero;
    v.wording = "The deficiency is 0: the deficiency zero theorem decides, and says more.";
  } else if (!hold) {
    v.outcome = DeficiencyOneVerdict::kNotApplicable;
    v.wording = failed_conditions(v, s.deficiency);
  } else if (s.weakly_reversible) {
    v.outcome = DeficiencyOneVerdict::kExactlyOneEquilibrium;
    v.wording = std::string(kOneConditions) +
                ", and the network is weakly reversible: for mass-action kinetics with any "
                "positive rate constants, each positive stoichiometric compatibility class "
                "holds exactly one equilibrium. The theorem says nothing of its stability.";
  } else {
    v.outcome = DeficiencyOneVerdict::kAtMostOneEquilibrium;
    v.wording = std::string(kOneConditions) +
                ": for mass-action kinetics with any positive rate constants, no positive "
                "stoichiometric compatibility class holds more than one equilibrium, and "
                "where the rate constants admit a positive equilibrium, each positive class "
                "holds exactly one. The network is not weakly reversible: the theorem does not "
                "say whether a positive equilibrium exists.";
  }
  return v;
}

}  // namespace crninv
