#include "semiflows/kernel.h"

#include <functional>
#include <queue>
#include <utility>

namespace crninv {

namespace {

// The elimination's state. A row's entries below n are its A part, those at
// n + i its identity part.
template <typename Int>
class Elimination {
 public:
  explicit Elimination(const SparseMatrix& a);
  void run(Monitor& monitor);
  KernelBasis<Int> basis();

 private:
  using Entry = std::pair<uint32_t, uint32_t>;  // (rows in the column, column)

  bool in_a(uint32_t index) const { return index < n; }
  // The live rows nonzero in column j.
  std::vector<uint32_t> rows_in(uint32_t j);
  void eliminate(uint32_t j, uint32_t pivot, uint32_t target);
  void count(uint32_t j, int32_t change);

  uint32_t n;
  VectorSet<Int> row;
  std::vector<bool> live;
  // Rows that may be nonzero in each column of A: every such row is listed,
  // along with rows that no longer are.
  std::vector<std::vector<uint32_t>> candidates;
  std::vector<uint32_t> in_column;  // live rows nonzero in each column
  std::vector<uint32_t> seen;       // a stamp per row, against duplicates
  uint32_t stamp = 0;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> next;
  SparseVector<Int> scratch;
};

template <typename Int>
Elimination<Int>::Elimination(const SparseMatrix& a)
    : n(a.columns),
      row(a.rows),
      live(a.rows, true),
      candidates(a.columns),
      in_column(a.columns, 0),
      seen(a.rows, 0) {
  for (uint32_t i = 0; i < a.rows; ++i) {
    for (uint64_t e = a.start[i]; e < a.start[i + 1]; ++e) {
      row[i].index.push_back(a.column[e]);
      row[i].value.push_back(a.value[e]);
      candidates[a.column[e]].push_back(i);
      ++in_column[a.column[e]];
    }
    row[i].index.push_back(n + i);
    row[i].value.push_back(1);
  }
  for (uint32_t j = 0; j < n; ++j) next.push({in_column[j], j});
}

template <typename Int>
void Elimination<Int>::count(uint32_t j, int32_t change) {
  in_column[j] += change;
  next.push({in_column[j], j});
}

template <typename Int>
std::vector<uint32_t> Elimination<Int>::rows_in(uint32_t j) {
  std::vector<uint32_t> rows;
  ++stamp;
  for (uint32_t i : candidates[j]) {
    if (!live[i] || seen[i] == stamp || row[i].find(j) == nullptr) continue;
    seen[i] = stamp;
    rows.push_back(i);
  }
  candidates[j].clear();
  candidates[j].shrink_to_fit();
  return rows;
}

// row[target] loses column j by a combination with row[pivot].
template <typename Int>
void Elimination<Int>::eliminate(uint32_t j, uint32_t pivot, uint32_t target) {
  const SparseVector<Int>& p = row[pivot];
  SparseVector<Int>& t = row[target];
  Int c, b;
  cancelling_multipliers(*t.find(j), *p.find(j), &c, &b);
  // The A part of the target changes only where the pivot is nonzero.
  for (uint32_t k = 0; k < p.size() && in_a(p.index[k]); ++k) {
    if (t.find(p.index[k]) != nullptr) count(p.index[k], -1);
  }
  combine(c, t, b, p, &scratch);
  make_primitive(&scratch, false);
  std::swap(t, scratch);
  for (uint32_t k = 0; k < p.size() && in_a(p.index[k]); ++k) {
    if (t.find(p.index[k]) != nullptr) {
      count(p.index[k], +1);
      candidates[p.index[k]].push_back(target);
    }
  }
}

template <typename Int>
void Elimination<Int>::run(Monitor& monitor) {
  while (!next.empty()) {
    monitor.heavy_tick();
    auto [rows_left, j] = next.top();
    next.pop();
    if (rows_left != in_column[j] || rows_left == 0) continue;  // stale, or done
    std::vector<uint32_t> rows = rows_in(j);
    uint32_t pivot = rows[0];
    for (uint32_t i : rows) {
      if (row[i].size() < row[pivot].size()) pivot = i;
    }
    live[pivot] = false;
    for (uint32_t k = 0; k < row[pivot].size() && in_a(row[pivot].index[k]); ++k) {
      count(row[pivot].index[k], -1);
    }
    for (uint32_t i : rows) {
      if (i == pivot) continue;
      monitor.tick();
      eliminate(j, pivot, i);
    }
    // The pivot row is no longer needed.
    row[pivot] = SparseVector<Int>();
  }
}

template <typename Int>
KernelBasis<Int> Elimination<Int>::basis() {
  KernelBasis<Int> b;
  for (uint32_t i = 0; i < row.size(); ++i) {
    if (!live[i]) continue;
    SparseVector<Int>& v = row[i];
    for (uint32_t& index : v.index) index -= n;  // every entry is in the identity part
    if (sign(*v.find(i)) < 0) v.negate();
    b.vectors.push_back(std::move(v));
    b.owned.push_back(i);
  }
  return b;
}

}  // namespace

template <typename Int>
KernelBasis<Int> left_kernel(const SparseMatrix& a, Monitor& monitor) {
  Elimination<Int> e(a);
  e.run(monitor);
  return e.basis();
}

template KernelBasis<int64_t> left_kernel(const SparseMatrix&, Monitor&);
template KernelBasis<mpz_class> left_kernel(const SparseMatrix&, Monitor&);

}  // namespace crninv
