// Reduction with integers as wide as the numbers need: 64 bits, then 128,
// then without limit, each tried on the matrix as it was (widen.h).
// Past 128 bits the numbers are long, and every exact step would work on
// long integers: the reduced form is found modulo primes and rebuilt
// (modular_rref.h), with an exact reduction on GMP's integers behind it.
// The reduced rows are the same at every width (the reduced row-echelon
// form, each row primitive with a positive leading entry), and so are the
// same as those of the 32-bit reduction wherever it finishes, whatever the
// pivots: here they are chosen for less fill.
#ifndef CRNINV_REDUCE_WIDE_REDUCE_H_
#define CRNINV_REDUCE_WIDE_REDUCE_H_

#include <cstdint>
#include <memory>

#include "base/widen.h"
#include "reduce/modular_rref.h"
#include "reduce/reduce_rows.h"
#include "rows/from_matrix.h"

namespace crninv {

// The most that the rows of a reduction modulo a prime may take.
constexpr uint64_t kDenseModularBytes = uint64_t{512} << 20;

// Reduces the rows of m at the width T and calls done(rows, count) with
// them; throws WidthExceeded when T cannot hold a number on the way.
template <typename T, typename Done>
void reduce_at_width(const SparseMatrix& m, Monitor& monitor, Done& done) {
  std::unique_ptr<WideRow<T>[]> rows = rows_from<WideRow<T>>(m);
  reduce_rows(rows.get(), m.rows, m.columns, PivotRule::kSmallThenSparse, monitor);
  done(rows.get(), m.rows);
}

// m is an augmented matrix: its columns end with -I, one per row. done
// may take the rows it is given apart.
template <typename Done>
void reduce_wide(const SparseMatrix& m, Monitor& monitor, Done done) {
  // The reduction modulo primes keeps its rows dense: where they fit in a
  // modest space it beats 128 bits too, whose failure would cost a whole
  // reduction more.
  bool dense_fits = uint64_t{m.columns} * m.rows * sizeof(uint32_t) <= kDenseModularBytes;
  widen([&] { reduce_at_width<int64_t>(m, monitor, done); },
        [&] {
          if (dense_fits) width_exceeded(kMultiplyOverflow);
          reduce_at_width<Int128>(m, monitor, done);
        },
        [&] {
          std::unique_ptr<WideRow<mpz_class>[]> rows;
          if (dense_fits) rows = modular_reduce(m, m.columns, monitor);
          if (rows == nullptr) width_exceeded(kMultiplyOverflow);
          done(rows.get(), m.rows);
        },
        [&] { reduce_at_width<mpz_class>(m, monitor, done); });
}

}  // namespace crninv

#endif  // CRNINV_REDUCE_WIDE_REDUCE_H_
