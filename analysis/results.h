// The reduced rows of a computation made into the values that the library
// returns: exact integers in compressed rows, 64 bits where they fit.
#ifndef CRNINV_ANALYSIS_RESULTS_H_
#define CRNINV_ANALYSIS_RESULTS_H_

#include <cstdint>
#include <string>

#include "base/decimal.h"
#include "crninv/integers.h"
#include "crninv/invariants.h"
#include "crninv/network.h"

namespace crninv {

// The matrix whose rows an analysis combines: N for the species, N^T,
// made in *transpose, for the reactions.
inline const SparseMatrix& matrix_of(const Network& network, bool reactions,
                                     SparseMatrix* transpose) {
  if (!reactions) return network.stoichiometry();
  *transpose = transposed(network.stoichiometry());
  return *transpose;
}

// Appends an entry to rows.
inline void push_entry(IntegerRows& rows, uint32_t column, int64_t value) {
  rows.column.push_back(column);
  rows.value.push_back(value);
}
inline void push_entry(IntegerRows& rows, uint32_t column, int32_t value) {
  push_entry(rows, column, int64_t{value});
}
inline void push_entry(IntegerRows& rows, uint32_t column, Int128 value) {
  if (value >= INT64_MIN && value <= INT64_MAX) {
    push_entry(rows, column, static_cast<int64_t>(value));
    return;
  }
  std::string digits;
  append_decimal(digits, value);
  rows.wider.emplace_back(rows.value.size(), std::move(digits));
  push_entry(rows, column, int64_t{0});
}
inline void push_entry(IntegerRows& rows, uint32_t column, const mpz_class& value) {
  if (value.fits_slong_p()) {
    push_entry(rows, column, static_cast<int64_t>(value.get_si()));
    return;
  }
  rows.wider.emplace_back(rows.value.size(), value.get_str());
  push_entry(rows, column, int64_t{0});
}

// The class of a reduced row whose first effects columns are its effects.
template <typename RowType>
RowClass classify(const RowType& row, uint32_t effects) {
  int seen = 0;  // sign of the effects met so far, 0 for none
  bool mixed = false, combines = false;
  row.for_each_nonzero([&](uint32_t j, const auto& value) {
    if (j < effects) {
      int s = sign(value);
      if (seen == 0) seen = s;
      if (s != seen) mixed = true;
    } else {
      combines = true;
    }
  });
  if (mixed) return RowClass::kIrreducible;
  if (seen != 0) return RowClass::kInequality;
  return combines ? RowClass::kFlow : RowClass::kZero;
}

// Takes the reduced rows into result, giving each row's storage back as
// soon as it is copied: the results never cost two copies of the rows.
template <typename RowType>
void take_rows(RowType* rows, uint32_t count, Invariants* result) {
  IntegerRows& out = result->rows;
  out = IntegerRows();
  uint64_t entries = 0;
  for (uint32_t k = 0; k < count; ++k) entries += rows[k].nonzeros();
  out.start.reserve(uint64_t{count} + 1);
  out.column.reserve(entries);
  out.value.reserve(entries);
  result->classes.clear();
  result->classes.reserve(count);
  for (uint32_t k = 0; k < count; ++k) {
    result->classes.push_back(classify(rows[k], result->effects));
    rows[k].for_each_nonzero([&](uint32_t j, const auto& value) { push_entry(out, j, value); });
    out.end_row();
    rows[k].resize(0);
  }
}

}  // namespace crninv

#endif  // CRNINV_ANALYSIS_RESULTS_H_
