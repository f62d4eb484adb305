#include <map>
#include <string>
#include <utility>
#include <vector>

#include "structure/complexes.h"
#include "structure/theorems.h"

namespace crninv {

namespace {

struct KeyLess {
  bool operator()(const std::pair<std::vector<Term>, uint32_t>& a,
                  const std::pair<std::vector<Term>, uint32_t>& b) const {
    if (a.second != b.second) return a.second < b.second;
    return complex_less(a.first, b.first);
  }
};

struct ComplexLess {
  bool operator()(const std::vector<Term>& a, const std::vector<Term>& b) const {
    return complex_less(a, b);
  }
};

// Keeps for each species the first pair of complexes (by the smaller, then
// the larger index) that differ in it alone.
void witness(std::map<uint32_t, std::pair<uint32_t, uint32_t>>& found, uint32_t species, uint32_t a,
             uint32_t b) {
  std::pair<uint32_t, uint32_t> pair = a < b ? std::make_pair(a, b) : std::make_pair(b, a);
  auto [it, fresh] = found.emplace(species, pair);
  if (!fresh && pair < it->second) it->second = pair;
}

// The species in which two of the complexes listed differ alone. Two
// complexes differ in species X alone when they are equal once X's terms
// are taken out of both: either one is the other without X, or both hold X
// with different coefficients.
std::map<uint32_t, std::pair<uint32_t, uint32_t>> differing_in_one_species(
    const std::vector<std::vector<Term>>& complexes, const std::vector<uint32_t>& listed) {
  std::map<std::vector<Term>, uint32_t, ComplexLess> index;
  for (uint32_t c : listed) index.emplace(complexes[c], c);
  std::map<std::pair<std::vector<Term>, uint32_t>, std::vector<uint32_t>, KeyLess> without;
  std::map<uint32_t, std::pair<uint32_t, uint32_t>> found;
  for (uint32_t c : listed) {
    const std::vector<Term>& terms = complexes[c];
    for (size_t t = 0; t < terms.size(); ++t) {
      std::vector<Term> rest(terms);
      rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(t));
      auto other = index.find(rest);
      if (other != index.end()) witness(found, terms[t].species, c, other->second);
      auto& group = without[{std::move(rest), terms[t].species}];
      for (uint32_t d : group) witness(found, terms[t].species, c, d);
      group.push_back(c);
    }
  }
  return found;
}

}  // namespace

// Shinar and Feinberg (2010): a mass-action system of deficiency one that
// admits a positive equilibrium has absolute concentration robustness in
// species X when two non-terminal complexes differ in X alone: X takes the
// same value at every positive equilibrium, for those rate constants,
// whatever the initial amounts.
RobustnessVerdict robustness_verdict(const Structure& s) {
  RobustnessVerdict v;
  v.applies = s.deficiency == 1;
  if (!v.applies) {
    v.wording = "Does not apply: the deficiency is " + std::to_string(s.deficiency) + ", not 1.";
    return v;
  }
  std::vector<uint32_t> nonterminal;
  for (uint32_t c = 0; c < s.complexes.size(); ++c) {
    if (!s.strong_classes[s.strong_class_of[c]].terminal) nonterminal.push_back(c);
  }
  for (const auto& [species, pair] : differing_in_one_species(s.complexes, nonterminal)) {
    v.species.push_back({species, {pair.first, pair.second}});
  }
  if (v.species.empty()) {
    v.wording =
        "The deficiency is 1, but no two non-terminal complexes differ in one species alone: "
        "the criterion names no species.";
  } else {
    v.wording =
        "The deficiency is 1 and two non-terminal complexes differ in each species below "
        "alone: wherever the rate constants let the mass-action system have a positive "
        "equilibrium, each of these species has the same concentration at every positive "
        "equilibrium, whatever the initial amounts (absolute concentration robustness).";
  }
  return v;
}

}  // namespace crninv
