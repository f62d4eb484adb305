// The minimal semiflows as the crninv program lists them (--semiflows,
// with --transitions for the T-semiflows): the oracle of the covering and
// persistence tests.
#ifndef CRNINV_TESTS_SUPPORT_SEMIFLOW_ORACLE_H_
#define CRNINV_TESTS_SUPPORT_SEMIFLOW_ORACLE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "crninv/network.h"

struct SemiflowList {
  bool complete = false;  // the program listed them all (exit status 0)
  // Each minimal semiflow's support, as indices of the network's species
  // (or reactions), ascending.
  std::vector<std::vector<uint32_t>> supports;
};

// Runs the program on the file path, read into network.
SemiflowList minimal_semiflows_of(const std::string& path, const crninv::Network& network,
                                  bool transitions, uint64_t cap);

// The union of the supports, ascending.
std::vector<uint32_t> union_of_supports(const SemiflowList& list);

#endif  // CRNINV_TESTS_SUPPORT_SEMIFLOW_ORACLE_H_
