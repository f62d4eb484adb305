#include "covering/presolve.h"

#include <numeric>

namespace crninv {

namespace {

struct Signs {
  std::vector<uint32_t> positive, negative;
  bool one_signed(uint32_t j) const { return (positive[j] == 0) != (negative[j] == 0); }
};

uint32_t find(std::vector<uint32_t>& parent, uint32_t i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

}  // namespace

Presolved presolve(const SparseMatrix& a, const SparseMatrix& by_column,
                   const std::vector<uint8_t>& allowed) {
  std::vector<uint8_t> alive = allowed;
  Signs signs{std::vector<uint32_t>(a.columns, 0), std::vector<uint32_t>(a.columns, 0)};
  for (uint32_t i = 0; i < a.rows; ++i) {
    if (!alive[i]) continue;
    a.for_each_in_row(
        i, [&](uint32_t j, int64_t v) { ++(v > 0 ? signs.positive : signs.negative)[j]; });
  }
  std::vector<uint32_t> pending;
  for (uint32_t j = 0; j < a.columns; ++j) {
    if (signs.one_signed(j)) pending.push_back(j);
  }
  while (!pending.empty()) {
    uint32_t j = pending.back();
    pending.pop_back();
    by_column.for_each_in_row(j, [&](uint32_t i, int64_t) {
      if (!alive[i]) return;
      alive[i] = 0;
      a.for_each_in_row(i, [&](uint32_t k, int64_t v) {
        --(v > 0 ? signs.positive : signs.negative)[k];
        if (signs.one_signed(k)) pending.push_back(k);
      });
    });
  }
  // Components: rows joined through the columns they share.
  std::vector<uint32_t> parent(a.rows);
  std::iota(parent.begin(), parent.end(), 0);
  std::vector<uint32_t> first(a.columns, UINT32_MAX);
  for (uint32_t i = 0; i < a.rows; ++i) {
    if (!alive[i]) continue;
    a.for_each_in_row(i, [&](uint32_t j, int64_t) {
      if (first[j] == UINT32_MAX) {
        first[j] = i;
      } else {
        parent[find(parent, i)] = find(parent, first[j]);
      }
    });
  }
  Presolved result;
  std::vector<uint32_t> slot(a.rows, UINT32_MAX);
  for (uint32_t i = 0; i < a.rows; ++i) {
    if (!alive[i]) continue;
    if (a.start[i] == a.start[i + 1]) {
      result.alone.push_back(i);
      continue;
    }
    uint32_t root = find(parent, i);
    if (slot[root] == UINT32_MAX) {
      slot[root] = static_cast<uint32_t>(result.components.size());
      result.components.emplace_back();
    }
    result.components[slot[root]].rows.push_back(i);
  }
  for (uint32_t j = 0; j < a.columns; ++j) {
    if (first[j] != UINT32_MAX)
      result.components[slot[find(parent, first[j])]].columns.push_back(j);
  }
  return result;
}

}  // namespace crninv
