#include "semiflows/prune.h"

#include <algorithm>
#include <numeric>

#include "base/exact.h"
namespace crninv {

namespace {

// Rows whose column has one sign are removed until no such column is left.
// alive[i] ends true exactly for the nonzero rows that may be in a
// semiflow.
std::vector<bool> surviving_rows(const SparseMatrix& a, const SparseMatrix& at) {
  std::vector<bool> alive(a.rows);
  for (uint32_t i = 0; i < a.rows; ++i) alive[i] = a.start[i + 1] > a.start[i];
  // Entries of each sign that live rows hold in each column.
  std::vector<uint32_t> positive(a.columns, 0), negative(a.columns, 0);
  for (uint32_t i = 0; i < a.rows; ++i) {
    for (uint64_t e = a.start[i]; e < a.start[i + 1]; ++e) {
      ++(a.value[e] > 0 ? positive : negative)[a.column[e]];
    }
  }
  auto one_signed = [&](uint32_t j) { return (positive[j] == 0) != (negative[j] == 0); };
  std::vector<uint32_t> queue;
  for (uint32_t j = 0; j < a.columns; ++j) {
    if (one_signed(j)) queue.push_back(j);
  }
  while (!queue.empty()) {
    uint32_t j = queue.back();
    queue.pop_back();
    for (uint64_t e = at.start[j]; e < at.start[j + 1]; ++e) {
      uint32_t i = at.column[e];
      if (!alive[i]) continue;
      alive[i] = false;
      for (uint64_t f = a.start[i]; f < a.start[i + 1]; ++f) {
        uint32_t k = a.column[f];
        bool was = one_signed(k);
        --(a.value[f] > 0 ? positive : negative)[k];
        if (!was && one_signed(k)) queue.push_back(k);
      }
    }
  }
  return alive;
}

int64_t common_factor(const SparseMatrix& a, uint32_t i) {
  int64_t g = 0;
  for (uint64_t e = a.start[i]; e < a.start[i + 1]; ++e) {
    g = Exact<int64_t>::gcd(g, Exact<int64_t>::abs(a.value[e]));
  }
  return g;
}

// Whether rows i and k are the same primitive row times their factors.
bool same_direction(const SparseMatrix& a, uint32_t i, int64_t gi, uint32_t k, int64_t gk) {
  if (a.start[i + 1] - a.start[i] != a.start[k + 1] - a.start[k]) return false;
  for (uint64_t e = a.start[i], f = a.start[k]; e < a.start[i + 1]; ++e, ++f) {
    if (a.column[e] != a.column[f] || a.value[e] / gi != a.value[f] / gk) return false;
  }
  return true;
}

// Marks each live row that is a positive multiple of a lower live row as
// dead and lists it under the lowest of its class: copies[i] for row i.
std::vector<std::vector<uint32_t>> drop_multiples(const SparseMatrix& a, std::vector<bool>& alive,
                                                  const std::vector<int64_t>& factor) {
  // Rows by a hash of their primitive form; equal hashes are compared.
  std::vector<std::pair<uint64_t, uint32_t>> keyed;
  for (uint32_t i = 0; i < a.rows; ++i) {
    if (!alive[i]) continue;
    uint64_t h = 1469598103934665603u;
    for (uint64_t e = a.start[i]; e < a.start[i + 1]; ++e) {
      h = (h ^ a.column[e]) * 1099511628211u;
      h = (h ^ static_cast<uint64_t>(a.value[e] / factor[i])) * 1099511628211u;
    }
    keyed.push_back({h, i});
  }
  std::sort(keyed.begin(), keyed.end());
  std::vector<std::vector<uint32_t>> copies(a.rows);
  for (size_t first = 0, end; first < keyed.size(); first = end) {
    for (end = first + 1; end < keyed.size() && keyed[end].first == keyed[first].first;) ++end;
    for (size_t x = first; x < end; ++x) {
      uint32_t i = keyed[x].second;
      if (!alive[i]) continue;
      for (size_t y = x + 1; y < end; ++y) {
        uint32_t k = keyed[y].second;
        if (alive[k] && same_direction(a, i, factor[i], k, factor[k])) {
          alive[k] = false;
          copies[i].push_back(k);
        }
      }
    }
  }
  return copies;
}

uint32_t find_root(std::vector<uint32_t>& parent, uint32_t i) {
  while (parent[i] != i) i = parent[i] = parent[parent[i]];
  return i;
}

// The part of the rows, with its columns renumbered in increasing order.
SemiflowPart make_part(const SparseMatrix& a, std::vector<uint32_t> rows,
                       std::vector<uint32_t>& local_column,
                       const std::vector<std::vector<uint32_t>>& copies,
                       const std::vector<int64_t>& factor) {
  SemiflowPart part;
  for (uint32_t i : rows) {
    part.factor.push_back(factor[i]);
    part.copies.emplace_back();
    for (uint32_t k : copies[i]) part.copies.back().push_back({k, factor[k]});
  }
  std::vector<uint32_t> used;
  for (uint32_t i : rows) {
    for (uint64_t e = a.start[i]; e < a.start[i + 1]; ++e) {
      if (local_column[a.column[e]] == UINT32_MAX) {
        local_column[a.column[e]] = 0;
        used.push_back(a.column[e]);
      }
    }
  }
  std::sort(used.begin(), used.end());
  for (uint32_t k = 0; k < used.size(); ++k) local_column[used[k]] = k;
  part.matrix.columns = static_cast<uint32_t>(used.size());
  for (uint32_t i : rows) {
    for (uint64_t e = a.start[i]; e < a.start[i + 1]; ++e) {
      part.matrix.column.push_back(local_column[a.column[e]]);
      part.matrix.value.push_back(a.value[e]);
    }
    part.matrix.end_row();
  }
  for (uint32_t j : used) local_column[j] = UINT32_MAX;
  part.rows = std::move(rows);
  return part;
}

}  // namespace

PrunedMatrix prune_and_split(const SparseMatrix& a) {
  PrunedMatrix result;
  SparseMatrix at = transposed(a);
  std::vector<bool> alive = surviving_rows(a, at);
  std::vector<int64_t> factor(a.rows);
  for (uint32_t i = 0; i < a.rows; ++i) {
    if (a.start[i + 1] == a.start[i]) result.zero_rows.push_back(i);
    factor[i] = common_factor(a, i);
  }
  std::vector<std::vector<uint32_t>> copies = drop_multiples(a, alive, factor);
  // Rows that share a column are in one part.
  std::vector<uint32_t> parent(a.rows);
  std::iota(parent.begin(), parent.end(), 0);
  for (uint32_t j = 0; j < at.rows; ++j) {
    uint32_t first = UINT32_MAX;
    for (uint64_t e = at.start[j]; e < at.start[j + 1]; ++e) {
      uint32_t i = at.column[e];
      if (!alive[i]) continue;
      if (first == UINT32_MAX) {
        first = find_root(parent, i);
      } else {
        uint32_t r = find_root(parent, i);
        if (r < first) std::swap(r, first);
        parent[r] = first;
      }
    }
  }
  // Parts in the order of their first rows; the root of a part is its
  // smallest row, since every union keeps the smaller root.
  std::vector<uint32_t> part_of(a.rows, UINT32_MAX);
  std::vector<std::vector<uint32_t>> members;
  for (uint32_t i = 0; i < a.rows; ++i) {
    if (!alive[i]) continue;
    uint32_t r = find_root(parent, i);
    if (part_of[r] == UINT32_MAX) {
      part_of[r] = static_cast<uint32_t>(members.size());
      members.emplace_back();
    }
    members[part_of[r]].push_back(i);
  }
  std::vector<uint32_t> local_column(a.columns, UINT32_MAX);
  for (auto& rows : members) {
    result.parts.push_back(make_part(a, std::move(rows), local_column, copies, factor));
  }
  return result;
}

}  // namespace crninv
