#include "tests/structure_reference.h"

#include <gmpxx.h>

#include <utility>

uint32_t rational_rank(const std::vector<std::vector<int64_t>>& rows) {
  std::vector<std::vector<mpq_class>> m;
  for (const auto& row : rows) {
    m.emplace_back();
    for (int64_t v : row) m.back().emplace_back(static_cast<long>(v));
  }
  uint32_t rank = 0;
  size_t columns = m.empty() ? 0 : m[0].size();
  for (size_t c = 0; c < columns && rank < m.size(); ++c) {
    size_t pivot = rank;
    while (pivot < m.size() && m[pivot][c] == 0) ++pivot;
    if (pivot == m.size()) continue;
    std::swap(m[pivot], m[rank]);
    for (size_t i = rank + 1; i < m.size(); ++i) {
      mpq_class f = m[i][c] / m[rank][c];
      for (size_t k = c; k < columns; ++k) m[i][k] -= f * m[rank][k];
    }
    ++rank;
  }
  return rank;
}
