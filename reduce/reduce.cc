// The reduction visits the columns in order and, for each, finds the pivot
// and clears the column from every other row, as plain Gauss-Jordan
// elimination does; but it never looks at a row that is zero in the column.
//
// Every row waits in the bucket of its next nonzero column at or after the
// column being scanned, and so the rows in the bucket of column j are
// exactly the rows that are nonzero there. A row changes only when it is
// cleared in a column where it is nonzero, that is while it is taken from
// that column's bucket, and it then moves on to the bucket of its next
// nonzero column. Rows not yet chosen as pivots are zero in every column
// already scanned, so for them this is their first nonzero column.
//
// The rows themselves never move while the columns are scanned: positions
// are kept apart, the pivot choice and the order of the eliminations follow
// them, and the rows are put in their final order at the end.
#include "reduce/reduce.h"

#include "reduce/reduce_rows.h"

namespace crninv {

void reduce(Row* rows, uint32_t count, uint32_t n, PivotRule rule, Monitor& monitor,
            ReduceStats* stats) {
  reduce_rows(rows, count, n, rule, monitor, stats);
}

}  // namespace crninv
