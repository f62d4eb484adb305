// The linear invariants of a network: the reduced row-echelon form of the
// augmented matrix [N | -I] (or, for the reactions, [N^T | -I]), each row
// primitive with its first entry positive, and the class of each row.
//
// A row's columns [0, effects) are its effects: the net change that each
// reaction (each species, for the reactions' invariants) makes to the
// combination the row stands for; its columns [effects, effects +
// combined) are that combination, with their signs reversed. A flow has no
// effect: the combination of species amounts is a conservation law (or the
// combination of reactions changes no species).
#ifndef CRNINV_INVARIANTS_H_
#define CRNINV_INVARIANTS_H_

#include <cstdint>
#include <vector>

#include "crninv/control.h"
#include "crninv/integers.h"
#include "crninv/network.h"

namespace crninv {

struct InvariantOptions {
  // Integers as wide as the numbers need: no overflow, whatever the
  // network. Without it the rows are those of the specified 32-bit run,
  // with its pivots, and a number past 32 bits throws Overflow.
  bool wide = false;
  // The invariants of the reactions (the transposed network): the rows
  // combine reactions, their effects are on species.
  bool transitions = false;
};

enum class RowClass : uint8_t {
  kZero,         // every entry 0
  kFlow,         // no effect: a conservation law
  kInequality,   // effects of one sign
  kIrreducible,  // effects of both signs
};

struct Invariants {
  bool of_reactions = false;      // the rows combine reactions (transitions)
  uint32_t effects = 0;           // columns of effects: reactions, or species
  uint32_t combined = 0;          // columns combined: species, or reactions
  IntegerRows rows;               // in the order of their pivot columns
  std::vector<RowClass> classes;  // one per row
};

// Throws Overflow (without wide), OutOfMemory, Cancelled.
Invariants invariants(const Network& network, const InvariantOptions& options = {},
                      const Control& control = {});

}  // namespace crninv

#endif  // CRNINV_INVARIANTS_H_
