// Integer Gauss-Jordan elimination over an array of rows.
#ifndef CRNINV_REDUCE_REDUCE_H_
#define CRNINV_REDUCE_REDUCE_H_

#include <cstdint>

#include "base/monitor.h"
#include "rows/row.h"

namespace crninv {

// What a reduction did, for benchmarks: the eliminations, the pivot
// entries they visited (the work of an elimination whose multiplier is 1 or
// -1), and the most nonzero entries the rows held at once.
struct ReduceStats {
  uint64_t eliminations = 0;
  uint64_t pivot_entries = 0;
  uint64_t peak_entries = 0;
};

// How the pivot row of a column is chosen among the rows that may take it.
enum class PivotRule {
  // The smallest magnitude, then the lowest position: the sizes of the
  // numbers on the way, and so the overflows met, depend on this choice.
  kSmallestMagnitude,
  // The row whose next nonzero entry after the column lies furthest on,
  // then the fewest nonzero entries, then the lowest position: the pivot
  // row then fills its targets where later columns will not clear them
  // again at once. Only where no overflow can happen (see unimodular.h),
  // since it meets other numbers on the way.
  kLeastFill,
  // The smallest magnitude, then the fewest nonzero entries, then as
  // kLeastFill: small numbers where they differ, and among the many pivots
  // of magnitude 1 the sparsest row, which spreads least (Markowitz's
  // criterion, for one column). For reports whose overflows need not be
  // those of an earlier version. On the transposed Petri nets of the
  // contest it does fifty times less work than kLeastFill on some.
  kSmallThenSparse,
};

// Brings rows[0..count) to integer reduced row-echelon form over columns
// [0, n): each pivot column keeps one nonzero entry, positive, in its pivot
// row, and every row ends primitive. The pivot rows end at the front, in
// the order of their columns. Progress goes to monitor; an overflow throws
// WidthExceeded.
void reduce(Row* rows, uint32_t count, uint32_t n, PivotRule rule, Monitor& monitor,
            ReduceStats* stats = nullptr);

}  // namespace crninv

#endif  // CRNINV_REDUCE_REDUCE_H_
