#include "algebra/sparse_matrix.h"

#include "algebra/row.h"

SparseMatrix sparse_from_rows(const Row* rows, uint32_t count, uint32_t columns) {
  SparseMatrix a;
  a.columns = columns;
  for (uint32_t i = 0; i < count; ++i) {
    rows[i].for_each_nonzero([&](uint32_t j, int32_t v) {
      if (j >= columns) return;
      a.column.push_back(j);
      a.value.push_back(v);
    });
    a.end_row();
  }
  return a;
}

SparseMatrix transposed(const SparseMatrix& a) {
  SparseMatrix t;
  t.rows = a.columns;
  t.columns = a.rows;
  t.start.assign(a.columns + 1, 0);
  for (uint32_t j : a.column) ++t.start[j + 1];
  for (uint32_t j = 0; j < a.columns; ++j) t.start[j + 1] += t.start[j];
  t.column.resize(a.column.size());
  t.value.resize(a.value.size());
  std::vector<uint64_t> next(t.start.begin(), t.start.end() - 1);
  // Rows in increasing order keep each column of the transpose sorted.
  for (uint32_t i = 0; i < a.rows; ++i) {
    for (uint64_t e = a.start[i]; e < a.start[i + 1]; ++e) {
      uint64_t k = next[a.column[e]]++;
      t.column[k] = i;
      t.value[k] = a.value[e];
    }
  }
  return t;
}
