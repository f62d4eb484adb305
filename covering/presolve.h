// What can be decided of a cone {y >= 0 : y A = 0} without a linear
// program, and what is left for one: the independent parts.
//
// A column of A whose entries among the unknowns still free all have one
// sign forces those unknowns to zero: they are covered by no semiflow.
// Once no such column is left, an unknown whose row has no entry left is
// covered by itself, and the others fall into components linked by the
// columns they share, whose linear programs do not interact.
#ifndef CRNINV_COVERING_PRESOLVE_H_
#define CRNINV_COVERING_PRESOLVE_H_

#include <cstdint>
#include <vector>

#include "crninv/sparse_matrix.h"

namespace crninv {

struct Component {
  std::vector<uint32_t> rows;     // ascending
  std::vector<uint32_t> columns;  // ascending: those with an entry in rows
};

struct Presolved {
  std::vector<uint32_t> alone;  // rows with no entry left: each a semiflow
  std::vector<Component> components;
};

// a: the unknowns as rows; by_column: a transposed. allowed: the rows the
// semiflows may use (others are zero).
Presolved presolve(const SparseMatrix& a, const SparseMatrix& by_column,
                   const std::vector<uint8_t>& allowed);

}  // namespace crninv

#endif  // CRNINV_COVERING_PRESOLVE_H_
