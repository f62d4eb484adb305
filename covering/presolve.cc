#include "covering/presolve.h"

#include <algorithm>
#include <numeric>

#include "covering/cone_rules.h"

namespace crninv {

namespace {

uint32_t find(std::vector<uint32_t>& parent, uint32_t i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// The live rows of the cone as a matrix, entries in column order.
SparseMatrix rows_left(const ConeRows& cone) {
  SparseMatrix m;
  m.columns = cone.columns();
  std::vector<std::pair<uint32_t, int64_t>> entries;
  for (uint32_t s = 0; s < cone.slots(); ++s) {
    if (cone.live(s)) {
      entries.assign(cone.row(s).begin(), cone.row(s).end());
      std::sort(entries.begin(), entries.end());
      for (const auto& e : entries) {
        m.column.push_back(e.first);
        m.value.push_back(e.second);
      }
    }
    m.end_row();
  }
  return m;
}

// Empty rows apart; the others in components joined by shared columns.
void split(Presolved& parts) {
  const SparseMatrix& a = parts.rows;
  std::vector<uint32_t> parent(a.rows);
  std::iota(parent.begin(), parent.end(), 0);
  std::vector<uint32_t> first(a.columns, UINT32_MAX);
  for (uint32_t i = 0; i < a.rows; ++i) {
    a.for_each_in_row(i, [&](uint32_t j, int64_t) {
      if (first[j] == UINT32_MAX) {
        first[j] = i;
      } else {
        parent[find(parent, i)] = find(parent, first[j]);
      }
    });
  }
  std::vector<uint32_t> slot(a.rows, UINT32_MAX);
  for (uint32_t i = 0; i < a.rows; ++i) {
    if (!parts.cone.live(i)) continue;
    if (a.start[i] == a.start[i + 1]) {
      parts.alone.push_back(i);
      continue;
    }
    uint32_t root = find(parent, i);
    if (slot[root] == UINT32_MAX) {
      slot[root] = static_cast<uint32_t>(parts.components.size());
      parts.components.emplace_back();
    }
    parts.components[slot[root]].rows.push_back(i);
  }
  for (uint32_t j = 0; j < a.columns; ++j) {
    if (first[j] != UINT32_MAX) parts.components[slot[find(parent, first[j])]].columns.push_back(j);
  }
}

// The one-signed rule on the matrix as it is, before any row is copied
// into the cone's tables: cheap where it leaves little (ViralEpidemic).
std::vector<uint8_t> one_signed_pass(const SparseMatrix& a, std::vector<uint8_t> alive,
                                     Monitor& monitor) {
  monitor.new_units();
  SparseMatrix by_column = transposed(a);
  std::vector<uint32_t> positive(a.columns, 0), negative(a.columns, 0);
  auto count = [&](uint32_t i, int step) {
    a.for_each_in_row(i, [&](uint32_t j, int64_t v) { (v > 0 ? positive : negative)[j] += step; });
  };
  for (uint32_t i = 0; i < a.rows; ++i) {
    if (alive[i]) count(i, 1);
  }
  auto one_signed = [&](uint32_t j) { return (positive[j] == 0) != (negative[j] == 0); };
  std::vector<uint32_t> pending;
  for (uint32_t j = 0; j < a.columns; ++j) {
    if (one_signed(j)) pending.push_back(j);
  }
  while (!pending.empty()) {
    uint32_t j = pending.back();
    pending.pop_back();
    by_column.for_each_in_row(j, [&](uint32_t i, int64_t) {
      if (!alive[i]) return;
      alive[i] = 0;
      count(i, -1);
      a.for_each_in_row(i, [&](uint32_t k, int64_t) {
        if (one_signed(k)) pending.push_back(k);
      });
    });
    monitor.tick();
  }
  return alive;
}

}  // namespace

Presolved presolve(const SparseMatrix& a, const std::vector<uint8_t>& allowed, Monitor& monitor) {
  Presolved parts{ConeRows(a, one_signed_pass(a, allowed, monitor), monitor), {}, {}, {}, {}};
  simplify(parts.cone, monitor);
  parts.rows = rows_left(parts.cone);
  parts.by_column = transposed(parts.rows);
  split(parts);
  return parts;
}

}  // namespace crninv
