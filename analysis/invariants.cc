// The invariants of a network: the augmented matrix built from N (or
// N^T), reduced at 32 bits with the specified pivots, or as wide as the
// numbers need.
#include "crninv/invariants.h"

#include "analysis/results.h"
#include "base/call.h"
#include "base/widen.h"
#include "reduce/reduce.h"
#include "reduce/unimodular.h"
#include "reduce/wide_reduce.h"
#include "rows/from_matrix.h"

namespace crninv {

namespace {

// Whether an entry of a is so large that the product of two would leave
// 32 bits.
bool has_large_entry(const SparseMatrix& a) {
  for (int64_t value : a.value) {
    if (value > 46340 || value < -46340) return true;
  }
  return false;
}

// Without wide, the species' rows choose their pivots as they always
// have, since the overflows met depend on them (but for less fill where no
// overflow can happen). The reactions' rows, and wide rows, meet no
// overflow of the specified run: both choose their pivots for less fill
// among the small, which on large Petri nets does tens of times less work.
PivotRule pivot_rule(const SparseMatrix& a, const InvariantOptions& options) {
  if (options.transitions || options.wide) return PivotRule::kSmallThenSparse;
  return provably_unimodular(a) ? PivotRule::kLeastFill : PivotRule::kSmallestMagnitude;
}

}  // namespace

Invariants invariants(const Network& network, const InvariantOptions& options,
                      const Control& control) {
  Call call(control, Progress::kReduction);
  Monitor& monitor = call.monitor();
  SparseMatrix transpose;
  const SparseMatrix& a = matrix_of(network, options.transitions, &transpose);
  if (uint64_t{a.rows} + a.columns > UINT32_MAX) throw OutOfMemory();
  Invariants result;
  result.of_reactions = options.transitions;
  result.effects = a.columns;
  result.combined = a.rows;
  SparseMatrix m = augmented(a);
  PivotRule rule = pivot_rule(a, options);
  transpose = SparseMatrix();
  auto done = [&](auto* rows, uint32_t count) { take_rows(rows, count, &result); };

  // 32 bits first, as without wide: the same rows, at the same cost,
  // wherever they suffice; but not when the first products leave them (a
  // biomass reaction scaled to whole numbers).
  auto in_32_bits = [&] {
    if (options.wide && has_large_entry(m)) width_exceeded(kMultiplyOverflow);
    std::unique_ptr<Row[]> rows = rows_from<Row>(m);
    uint32_t count = m.rows, n = m.columns;
    // Without wide nothing starts again from m.
    if (!options.wide) m = SparseMatrix();
    reduce(rows.get(), count, n, rule, monitor);
    done(rows.get(), count);
  };
  if (!options.wide) {
    try {
      in_32_bits();
    } catch (const WidthExceeded& e) {
      throw Overflow(e.message);
    }
  } else {
    widen(in_32_bits, [&] { reduce_wide(m, monitor, done); });
  }
  return result;
}

}  // namespace crninv
