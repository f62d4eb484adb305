#include "structure/complexes.h"

#include <algorithm>
#include <numeric>

#include "crninv/errors.h"

namespace crninv {

namespace {

bool term_less(const Term& a, const Term& b) {
  return a.species != b.species ? a.species < b.species : a.coefficient < b.coefficient;
}

bool same_terms(const std::vector<Term>& a, const std::vector<Term>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Term& x, const Term& y) {
    return x.species == y.species && x.coefficient == y.coefficient;
  });
}

// The side as a complex: sorted by species, one term per species, none 0.
std::vector<Term> canonical(Side side) {
  std::vector<Term> terms(side.begin(), side.end());
  std::sort(terms.begin(), terms.end(), term_less);
  std::vector<Term> merged;
  for (const Term& t : terms) {
    if (!merged.empty() && merged.back().species == t.species) {
      int64_t& sum = merged.back().coefficient;
      if (__builtin_add_overflow(sum, t.coefficient, &sum)) throw Overflow(kAdditionOverflow);
    } else {
      merged.push_back(t);
    }
  }
  merged.erase(std::remove_if(merged.begin(), merged.end(),
                              [](const Term& t) { return t.coefficient == 0; }),
               merged.end());
  return merged;
}

}  // namespace

bool complex_less(const std::vector<Term>& a, const std::vector<Term>& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), term_less);
}

ComplexTable complexes_of(const Network& network) {
  uint32_t R = network.reaction_count();
  // Sides are numbered by 32 bits below.
  if (R > UINT32_MAX / 2) throw InvalidArgument("more than 2^31 - 1 reactions");
  // Side s is the left side of reaction s / 2 when s is even, else its right.
  std::vector<std::vector<Term>> sides(2 * uint64_t{R});
  for (uint32_t j = 0; j < R; ++j) {
    sides[2 * j] = canonical(network.reactants(j));
    sides[2 * j + 1] = canonical(network.products(j));
  }
  // Equal sides become adjacent, the first written first among them.
  std::vector<uint32_t> order(sides.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    if (complex_less(sides[a], sides[b])) return true;
    if (complex_less(sides[b], sides[a])) return false;
    return a < b;
  });
  std::vector<uint32_t> first_of(sides.size());
  for (size_t i = 0; i < order.size(); ++i) {
    bool same = i > 0 && same_terms(sides[order[i]], sides[order[i - 1]]);
    first_of[order[i]] = same ? first_of[order[i - 1]] : order[i];
  }
  ComplexTable table;
  table.reactant.resize(R);
  table.product.resize(R);
  std::vector<uint32_t> number(sides.size());
  for (uint32_t s = 0; s < sides.size(); ++s) {
    if (first_of[s] == s) {
      number[s] = static_cast<uint32_t>(table.complexes.size());
      table.complexes.push_back(std::move(sides[s]));
    }
    (s % 2 == 0 ? table.reactant : table.product)[s / 2] = number[first_of[s]];
  }
  return table;
}

}  // namespace crninv
