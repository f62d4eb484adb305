// Conserved moieties: the conservation laws of a network in the one form
// that does not depend on the machine, the order of the reactions or the
// order of the work, and the reduction of the ODE model they allow.
//
// The laws are the flows of the reduced row-echelon form of [N | -I]
// (crninv/invariants.h): their species parts are the reduced row-echelon
// form of the left null space of N, each row scaled to coprime integers
// with a positive leading entry. The leading species of a law appears in
// no other law, so each law lets the model eliminate its leading species:
// the dependent species. With x_d = (T - sum_i c_i x_i) / c_d for a law
// c x = T, the rates of the dependent species follow from the others':
// N = L Nr, where Nr holds the rows of N of the independent species and
// L (species by independent species) is the link matrix (Reder, J. Theor.
// Biol. 135 (1988) 175-201; Sauro and Ingalls, Biophys. Chem. 109 (2004)
// 1-15, whose L0 is the rows of L of the dependent species).
#ifndef CRNINV_MOIETIES_H_
#define CRNINV_MOIETIES_H_

#include <cstdint>
#include <vector>

#include "crninv/control.h"
#include "crninv/integers.h"
#include "crninv/network.h"

namespace crninv {

struct ConservedMoieties {
  // One per law, in the order of the laws: its leading species, so
  // ascending.
  std::vector<uint32_t> dependent;
  // The other species, ascending.
  std::vector<uint32_t> independent;
  // One row per law, its columns species: the flows of the invariants
  // computed wide, in their order.
  IntegerRows laws;
  // Row k is the row of L of species dependent[k]: numerators, its columns
  // positions into independent, over denominator[k] (the leading
  // coefficient of law k, the least common denominator of the row). The
  // row of L of independent[i] is the unit row i, and is not stored.
  IntegerRows link;
  std::vector<Integer> denominator;
};

// The laws computed as invariants(network, {wide = true}, control) computes
// them. Throws OutOfMemory, Cancelled.
ConservedMoieties conserved_moieties(const Network& network, const Control& control = {});

// Nr: the rows of N of the independent species, in their order.
SparseMatrix reduced_stoichiometry(const Network& network, const ConservedMoieties& moieties);

}  // namespace crninv

#endif  // CRNINV_MOIETIES_H_
