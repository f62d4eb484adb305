// What can be decided of a cone {y >= 0 : y A = 0} without a linear
// program, and what is left for one: the rules of cone_rules.h, then the
// independent parts.
//
// Once no rule applies, an unknown whose row has no entry left is covered
// by itself, and the others fall into components linked by the columns
// they share, whose linear programs do not interact.
#ifndef CRNINV_COVERING_PRESOLVE_H_
#define CRNINV_COVERING_PRESOLVE_H_

#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "covering/cone_rows.h"
#include "crninv/sparse_matrix.h"

namespace crninv {

struct Component {
  std::vector<uint32_t> rows;     // slots, ascending
  std::vector<uint32_t> columns;  // ascending: those with an entry in rows
};

struct Presolved {
  ConeRows cone;  // reads a semiflow of the rows left back as one of A
  // The rows left, by slot (a dead slot's row is empty), and transposed.
  SparseMatrix rows, by_column;
  std::vector<uint32_t> alone;  // slots whose row is empty: each a semiflow
  std::vector<Component> components;
};

// a: the unknowns as rows. allowed: the rows the semiflows may use (others
// are zero).
Presolved presolve(const SparseMatrix& a, const std::vector<uint8_t>& allowed, Monitor& monitor);

}  // namespace crninv

#endif  // CRNINV_COVERING_PRESOLVE_H_
