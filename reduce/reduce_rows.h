// The reduction over rows of any kind: Row (32 bits, guarded), WideRow
// (wider integers) and ModRow (residues). See reduce.h for what it does;
// reduce.cc says how.
//
// What it needs of a row type RowType, and all it uses:
//   RowType::Workspace         scratch space of eliminate, default-constructed
//                              once per reduction and passed to every call
//   r.nonzeros()               the count of nonzero entries
//   r.next_nonzero(column)     the first nonzero column at or after column,
//                              or UINT32_MAX
//   r.for_each_nonzero(visit)  visit(column, value) in column order
//   r.eliminate(column, pivot, workspace)
//                              r = c * r + b * pivot, zero at column
//   r.normalize()              the form each reduced row ends in
//   r.swap(other)
//   compare_magnitudes(a, b, column)
//                              -1, 0, 1 as a's entry at column is smaller in
//                              magnitude than b's (0 where size means nothing)
#ifndef CRNINV_REDUCE_REDUCE_ROWS_H_
#define CRNINV_REDUCE_REDUCE_ROWS_H_

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "reduce/reduce.h"

namespace crninv {

namespace reduction {

constexpr uint32_t kNone = UINT32_MAX;

// Rows by the column of their next nonzero entry: a singly linked list per
// column.
class Buckets {
 public:
  Buckets(uint32_t columns, uint32_t rows) : head(columns, kNone), next(rows, kNone) {}
  // Moves the rows of column j into list, leaving the bucket empty.
  void take(uint32_t column, std::vector<uint32_t>& list) {
    list.clear();
    for (uint32_t r = head[column]; r != kNone; r = next[r]) list.push_back(r);
    head[column] = kNone;
  }
  // Puts the row into the bucket of column, when there is one.
  void put(uint32_t column, uint32_t row) {
    if (column >= head.size()) return;
    next[row] = head[column];
    head[column] = row;
  }

 private:
  std::vector<uint32_t> head, next;
};

// Where the rows stand: position -> row and row -> position.
struct Positions {
  explicit Positions(uint32_t count) : row(count), of(count) {
    for (uint32_t k = 0; k < count; ++k) row[k] = of[k] = k;
  }
  void exchange(uint32_t a, uint32_t b) {
    std::swap(row[of[a]], row[of[b]]);
    std::swap(of[a], of[b]);
  }
  std::vector<uint32_t> row, of;
};

// Moves rows[row[p]] to rows[p] for every position p.
template <typename RowType>
void put_in_order(RowType* rows, const Positions& where) {
  uint32_t count = static_cast<uint32_t>(where.row.size());
  std::vector<uint32_t> index(count), id(count);  // where each row is now, and who is there
  for (uint32_t k = 0; k < count; ++k) index[k] = id[k] = k;
  for (uint32_t p = 0; p < count; ++p) {
    uint32_t r = where.row[p];
    uint32_t from = index[r];
    if (from == p) continue;
    rows[p].swap(rows[from]);
    uint32_t displaced = id[p];
    id[from] = displaced;
    index[displaced] = from;
    id[p] = r;
    index[r] = p;
  }
}

// Whether row a makes a better pivot for column j than row b.
template <typename RowType>
bool better_pivot(const RowType* rows, const Positions& where, PivotRule rule, uint32_t j,
                  uint32_t a, uint32_t b) {
  if (rule != PivotRule::kLeastFill) {
    int order = compare_magnitudes(rows[a], rows[b], j);
    if (order != 0) return order < 0;
  }
  if (rule == PivotRule::kSmallThenSparse && rows[a].nonzeros() != rows[b].nonzeros()) {
    return rows[a].nonzeros() < rows[b].nonzeros();
  }
  if (rule != PivotRule::kSmallestMagnitude) {
    uint32_t next_a = rows[a].next_nonzero(j + 1), next_b = rows[b].next_nonzero(j + 1);
    if (next_a != next_b) return next_a > next_b;  // none, the largest, comes first
    if (rows[a].nonzeros() != rows[b].nonzeros()) return rows[a].nonzeros() < rows[b].nonzeros();
  }
  return where.of[a] < where.of[b];
}

// on_pivot(row, column) is told of every pivot as it is chosen, before the
// column is cleared from the other rows.
// this = c * this + b * pivot at column j, counted in stats when given.
template <typename RowType>
void eliminate_counted(RowType& row, uint32_t j, const RowType& pivot,
                       typename RowType::Workspace& work, Monitor& monitor, ReduceStats* stats,
                       uint64_t& entries) {
  monitor.tick();
  if (stats == nullptr) {
    row.eliminate(j, pivot, work);
    return;
  }
  entries -= row.nonzeros();
  row.eliminate(j, pivot, work);
  entries += row.nonzeros();
  stats->eliminations += 1;
  stats->pivot_entries += pivot.nonzeros();
  stats->peak_entries = std::max(stats->peak_entries, entries);
}

// The rows already chosen as pivots, cleared of every later pivot column,
// the last first (back substitution). Each pivot row is then clean of all
// pivot columns after its own when it clears its column from the rows
// before it, so that those gain entries in columns without a pivot alone:
// the rows that hold each pivot column can be listed once, at the start.
template <typename RowType>
void substitute_back(RowType* rows, const Positions& where, const std::vector<uint32_t>& columns,
                     typename RowType::Workspace& work, Monitor& monitor, ReduceStats* stats,
                     uint64_t& entries) {
  uint32_t pivots = static_cast<uint32_t>(columns.size());
  std::vector<uint32_t> position_of(columns.empty() ? 0 : columns.back() + 1, kNone);
  for (uint32_t p = 0; p < pivots; ++p) position_of[columns[p]] = p;
  std::vector<std::vector<uint32_t>> holders(pivots);
  for (uint32_t p = 0; p < pivots; ++p) {
    uint32_t r = where.row[p];
    rows[r].for_each_nonzero([&](uint32_t c, const auto&) {
      if (c > columns[p] && c < position_of.size() && position_of[c] != kNone) {
        holders[position_of[c]].push_back(r);
      }
    });
  }
  for (uint32_t p = pivots; p-- > 0;) {
    for (uint32_t r : holders[p]) {
      eliminate_counted(rows[r], columns[p], rows[where.row[p]], work, monitor, stats, entries);
    }
    std::vector<uint32_t>().swap(holders[p]);
  }
}

}  // namespace reduction

// on_pivot(row, column) is told of every pivot as it is chosen, before the
// column is cleared from the other rows.
//
// Under kSmallestMagnitude every column is cleared from the rows above its
// pivot as soon as it is found (Gauss-Jordan), as the reduction always has:
// the numbers on the way, and so the overflows met, are those of before.
// Under the other rules the rows above wait, and are cleared at the end in
// one pass from the last column back: the same reduced form, for far less
// work where a pivot row would otherwise be cleared again and again.
template <typename RowType, typename OnPivot>
void reduce_rows(RowType* rows, uint32_t count, uint32_t n, PivotRule rule, Monitor& monitor,
                 ReduceStats* stats, OnPivot on_pivot) {
  using namespace reduction;
  typename RowType::Workspace work;
  Progress& progress = monitor.state();
  progress.stage = Progress::kReduction;
  progress.steps = n;
  progress.most = count;
  uint64_t entries = 0;
  if (stats != nullptr) {
    for (uint32_t r = 0; r < count; ++r) entries += rows[r].nonzeros();
    stats->peak_entries = entries;
  }
  bool back_substitution = rule != PivotRule::kSmallestMagnitude;
  Buckets waiting(n, count);
  for (uint32_t r = count; r-- > 0;) waiting.put(rows[r].next_nonzero(0), r);
  Positions where(count);
  std::vector<uint32_t> nonzero, targets, pivot_columns;

  uint32_t i = 0;  // where the next pivot row goes
  for (uint32_t j = 0; j < n && i < count; ++j) {
    progress.step = j;
    progress.found = i;
    monitor.tick();
    waiting.take(j, nonzero);
    // The pivot, among the rows not yet chosen.
    uint32_t best = kNone;
    for (uint32_t r : nonzero) {
      if (where.of[r] < i) continue;
      if (best == kNone || better_pivot(rows, where, rule, j, r, best)) best = r;
    }
    if (best != kNone) {
      on_pivot(best, j);
      where.exchange(best, where.row[i]);
      ++i;
      pivot_columns.push_back(j);
      // In the order of positions, so that the first overflow met is the
      // one that a scan of the rows in order would meet.
      targets.clear();
      for (uint32_t r : nonzero) {
        if (r != best && !(back_substitution && where.of[r] < i)) targets.push_back(r);
      }
      std::sort(targets.begin(), targets.end(),
                [&](uint32_t a, uint32_t b) { return where.of[a] < where.of[b]; });
      for (uint32_t r : targets) {
        eliminate_counted(rows[r], j, rows[best], work, monitor, stats, entries);
      }
    }
    // Rows above the pivots wait no more when they are cleared at the end.
    for (uint32_t r : nonzero) {
      if (!(back_substitution && where.of[r] < i)) waiting.put(rows[r].next_nonzero(j + 1), r);
    }
  }
  if (back_substitution) substitute_back(rows, where, pivot_columns, work, monitor, stats, entries);
  for (uint32_t p = 0; p < count; ++p) {
    monitor.heavy_tick();
    rows[where.row[p]].normalize();
  }
  put_in_order(rows, where);
}

template <typename RowType>
void reduce_rows(RowType* rows, uint32_t count, uint32_t n, PivotRule rule, Monitor& monitor,
                 ReduceStats* stats = nullptr) {
  reduce_rows(rows, count, n, rule, monitor, stats, [](uint32_t, uint32_t) {});
}

}  // namespace crninv

#endif  // CRNINV_REDUCE_REDUCE_ROWS_H_
