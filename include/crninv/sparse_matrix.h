// A sparse integer matrix, row by row (compressed sparse rows): the
// stoichiometric matrix of a Network, and what the analyses start from.
#ifndef CRNINV_INCLUDE_CRNINV_SPARSE_MATRIX_H_
#define CRNINV_INCLUDE_CRNINV_SPARSE_MATRIX_H_

#include <cstdint>
#include <vector>

namespace crninv {

// The entries of row i are column[start[i] .. start[i + 1]) and value[...],
// in increasing column order, each nonzero.
struct SparseMatrix {
  uint32_t rows = 0;
  uint32_t columns = 0;
  std::vector<uint64_t> start{0};
  std::vector<uint32_t> column;
  std::vector<int64_t> value;

  uint64_t nonzeros() const { return column.size(); }
  // Appends a row whose entries were pushed into column and value since
  // the last call.
  void end_row() {
    start.push_back(column.size());
    ++rows;
  }
  // visit(column, value) for each entry of row i, in column order.
  template <typename Visit>
  void for_each_in_row(uint32_t i, Visit visit) const {
    for (uint64_t e = start[i]; e < start[i + 1]; ++e) visit(column[e], value[e]);
  }
};

SparseMatrix transposed(const SparseMatrix& a);

}  // namespace crninv

#endif  // CRNINV_INCLUDE_CRNINV_SPARSE_MATRIX_H_
