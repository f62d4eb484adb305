// The rank over the rationals of sets of rows of an integer matrix, exact:
// fraction-free sparse Gaussian elimination on 64-bit integers with every
// product and difference checked, started again on GMP integers when one
// would overflow. Each elimination scales the two rows by the cofactors of
// their pivot entries' gcd and divides the result by its content, so the
// numbers stay as small as the rows allow; no division ever rounds.
//
// The pivots follow Markowitz's rule in its cheap form (H. M. Markowitz,
// Management Science 3, 1957): the column held by the fewest rows, and in
// it the shortest row. On the stoichiometry of a metabolic network this
// takes the many singleton columns and rare species first and leaves the
// cofactors (water, protons, ATP), held by most reactions, for the end,
// where little is left to fill.
#ifndef CRNINV_STRUCTURE_EXACT_RANK_H_
#define CRNINV_STRUCTURE_EXACT_RANK_H_

#include <cstdint>
#include <vector>

#include "crninv/sparse_matrix.h"

namespace crninv {

class Monitor;

// Holds what every rank of rows of one matrix shares: the map from its
// columns to the few columns that a set of rows holds.
class RankWorkspace {
 public:
  // a must outlive the workspace. Past memory_budget bytes of entries held
  // at once, rank() throws OutOfMemory.
  RankWorkspace(const SparseMatrix& a, uint64_t memory_budget);

  // The rank of the rows listed. Counts each row in monitor's step as it
  // leaves the elimination and each pivot in found, and ticks it at each
  // elimination (throws Cancelled when the callback asks to stop).
  uint32_t rank(const std::vector<uint32_t>& rows, Monitor& monitor);

 private:
  const SparseMatrix& a;
  uint64_t budget;
  std::vector<uint32_t> local, stamp;  // a's column -> local column, valid at this stamp
  uint32_t calls = 0;
};

}  // namespace crninv

#endif  // CRNINV_STRUCTURE_EXACT_RANK_H_
