// The complexes of a network: the sides of its reactions as multisets of
// species (terms summed per species, terms of coefficient 0 dropped, by
// ascending species), equal sides merged into one complex.
#ifndef CRNINV_STRUCTURE_COMPLEXES_H_
#define CRNINV_STRUCTURE_COMPLEXES_H_

#include <cstdint>
#include <vector>

#include "crninv/network.h"

namespace crninv {

struct ComplexTable {
  // Numbered by first appearance: reaction 0's left side, its right side,
  // reaction 1's left side, ...
  std::vector<std::vector<Term>> complexes;
  std::vector<uint32_t> reactant, product;  // the complex of each reaction's sides
};

// Throws Overflow (kAdditionOverflow) when the coefficients of a species on
// one side sum past 64 bits.
ComplexTable complexes_of(const Network& network);

// a before b: by species, then coefficient, term after term; a list before
// its own extensions.
bool complex_less(const std::vector<Term>& a, const std::vector<Term>& b);

}  // namespace crninv

#endif  // CRNINV_STRUCTURE_COMPLEXES_H_
