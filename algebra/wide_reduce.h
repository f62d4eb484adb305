// Reduction with integers as wide as the numbers need: 64 bits, then 128,
// then without limit. A width that cannot hold a number on the way throws,
// and the reduction starts again, from the matrix as it was, one width up:
// most matrices that leave 32 bits fit 64, and a restart costs less than
// carrying a wider type through every elimination that did not need it.
// Past 128 bits the numbers are long, and every exact step would work on
// long integers: the reduced form is found modulo primes and rebuilt
// (modular_rref.h), with an exact reduction on GMP's integers behind it.
// The reduced rows are the same at every width (the reduced row-echelon
// form, each row primitive with a positive leading entry), and so are the
// same as those of the 32-bit reduction wherever it finishes, whatever the
// pivots: here they are chosen for less fill.
#ifndef CRNINV_ALGEBRA_WIDE_REDUCE_H_
#define CRNINV_ALGEBRA_WIDE_REDUCE_H_

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "algebra/modular_rref.h"
#include "algebra/reduce.h"
#include "algebra/reduce_rows.h"
#include "algebra/sparse_matrix.h"
#include "algebra/wide_row.h"

// The most that the rows of a reduction modulo a prime may take.
constexpr uint64_t kDenseModularBytes = uint64_t{512} << 20;

// How far a reduction came: pivots found of the rows.
struct Reached {
  const ReduceProgress* outer;
  uint32_t pivots = 0, rows = 0;
  static void report(void* self, uint32_t columns_done, uint32_t columns, uint32_t pivots,
                     uint32_t rows) {
    auto* reached = static_cast<Reached*>(self);
    reached->pivots = pivots;
    reached->rows = rows;
    if (reached->outer->report != nullptr) {
      reached->outer->report(reached->outer->context, columns_done, columns, pivots, rows);
    }
  }
};

// Reduces the rows of m (n columns each) at the width T and calls
// done(rows, count) with them; false when T cannot hold a number on the way,
// with *reached telling how far it came.
template <typename T, typename Done>
bool reduce_at_width(const SparseMatrix& m, uint32_t n, const ReduceProgress& progress, Done& done,
                     Reached* reached) {
  uint32_t count = m.rows;
  std::unique_ptr<WideRow<T>[]> rows(new WideRow<T>[count]);
  for (uint32_t k = 0; k < count; ++k) {
    rows[k].resize(n);
    m.for_each_in_row(
        k, [&](uint32_t column, int32_t value) { rows[k].append(column, Exact<T>::from(value)); });
  }
  *reached = Reached{&progress};
  ReduceProgress relay{Reached::report, reached};
  try {
    reduce_rows(rows.get(), count, n, PivotRule::kSmallThenSparse, relay, nullptr);
  } catch (const WidthExceeded&) {
    return false;
  }
  done(static_cast<const WideRow<T>*>(rows.get()), count);
  return true;
}

// m's n columns end with -I, one column per row.
template <typename Done>
void reduce_wide(const SparseMatrix& m, uint32_t n, const ReduceProgress& progress, Done done) {
  Reached reached{&progress};
  if (reduce_at_width<int64_t>(m, n, progress, done, &reached)) return;
  // The reduction modulo primes keeps its rows dense: where they fit in a
  // modest space it beats 128 bits too, whose failure would cost a whole
  // reduction more.
  bool dense_fits = uint64_t{n} * m.rows * sizeof(uint32_t) <= kDenseModularBytes;
  if (!dense_fits && reduce_at_width<Int128>(m, n, progress, done, &reached)) return;
  if (dense_fits) {
    if (auto rows = modular_reduce(m, n, progress)) {
      done(static_cast<const WideRow<mpz_class>*>(rows.get()), m.rows);
      return;
    }
  }
  reduce_at_width<mpz_class>(m, n, progress, done, &reached);
}

#endif  // CRNINV_ALGEBRA_WIDE_REDUCE_H_
