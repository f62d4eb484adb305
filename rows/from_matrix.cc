#include "rows/from_matrix.h"

namespace crninv {

SparseMatrix augmented(const SparseMatrix& a) {
  SparseMatrix m;
  m.columns = a.columns + a.rows;
  m.column.reserve(a.nonzeros() + a.rows);
  m.value.reserve(a.nonzeros() + a.rows);
  m.start.reserve(uint64_t{a.rows} + 1);
  for (uint32_t i = 0; i < a.rows; ++i) {
    a.for_each_in_row(i, [&](uint32_t j, int64_t v) {
      m.column.push_back(j);
      m.value.push_back(v);
    });
    m.column.push_back(a.columns + i);
    m.value.push_back(-1);
    m.end_row();
  }
  return m;
}

std::unique_ptr<Row[]> rows_from(const SparseMatrix& m, Row*) {
  std::unique_ptr<Row[]> rows(new Row[m.rows]);
  for (uint32_t k = 0; k < m.rows; ++k) {
    rows[k].resize(m.columns);
    uint64_t first = m.start[k];
    rows[k].assign(m.column.data() + first, m.value.data() + first,
                   static_cast<uint32_t>(m.start[k + 1] - first));
  }
  return rows;
}

}  // namespace crninv
