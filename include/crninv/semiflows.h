// The minimal semiflows of a network: the non-negative integer
// combinations of species that no reaction changes (P-semiflows), or of
// reactions that change no species (T-semiflows), whose supports are
// minimal. Every semiflow is a non-negative combination of them; their
// number can grow exponentially with the network.
#ifndef CRNINV_SEMIFLOWS_H_
#define CRNINV_SEMIFLOWS_H_

#include <cstdint>

#include "crninv/control.h"
#include "crninv/integers.h"
#include "crninv/network.h"

namespace crninv {

struct SemiflowOptions {
  bool transitions = false;  // semiflows of the reactions
  // Stop, with TooManySemiflows, past this many semiflows, or candidates
  // held on the way to them.
  uint64_t max_semiflows = UINT64_MAX;
};

struct Semiflows {
  bool of_reactions = false;
  // One row per minimal semiflow: its support (species, or reactions) and
  // positive coefficients without common factor; ordered by support,
  // compared as ascending lists of indices.
  IntegerRows vectors;
};

// Throws TooManySemiflows, OutOfMemory, Cancelled.
Semiflows semiflows(const Network& network, const SemiflowOptions& options = {},
                    const Control& control = {});

}  // namespace crninv

#endif  // CRNINV_SEMIFLOWS_H_
