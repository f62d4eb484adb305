// Classification of reduced rows and their printed form, for rows of every
// width (Row, WideRow).
#ifndef CRNINV_ALGEBRA_REPORT_H_
#define CRNINV_ALGEBRA_REPORT_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "algebra/wide_int.h"

constexpr int32_t ROW_ZERO = 0;         // every entry 0
constexpr int32_t ROW_FLOW = 1;         // reaction part 0: a conservation law
constexpr int32_t ROW_INEQUALITY = 2;   // reaction part of one sign
constexpr int32_t ROW_IRREDUCIBLE = 3;  // reaction part of both signs

// The names of a block of columns, by index.
using Names = std::vector<std::string_view>;

// -1, 0 or 1.
inline int sign_of(int32_t v) {
  return (v > 0) - (v < 0);
}
inline int sign_of(int64_t v) {
  return (v > 0) - (v < 0);
}
inline int sign_of(Int128 v) {
  return (v > 0) - (v < 0);
}
inline int sign_of(const mpz_class& v) {
  return sgn(v);
}

// The class of a row whose first R columns are reactions and next S species.
template <typename RowType>
int32_t classify(const RowType& row, uint32_t R, uint32_t S) {
  int seen = 0;  // sign of the reaction entries met so far, 0 for none
  bool mixed = false, species = false;
  uint64_t end = uint64_t{R} + S;
  row.for_each_nonzero([&](uint32_t j, const auto& value) {
    if (j < R) {
      int s = sign_of(value);
      if (seen == 0) seen = s;
      if (s != seen) mixed = true;
    } else if (j < end) {
      species = true;
    }
  });
  if (mixed) return ROW_IRREDUCIBLE;
  if (seen != 0) return ROW_INEQUALITY;
  return species ? ROW_FLOW : ROW_ZERO;
}

// Writes the row to standard output as "+1 name -2 name \n": the columns of
// the first block, [0, R), are named by first, those of the second,
// [R, R + S), by second; zero entries are left out.
template <typename RowType>
void print_row(const RowType& row, const Names& first, const Names& second) {
  // A report of millions of terms is mostly this loop: each line is formed
  // first and written at once.
  static std::string line;
  line.clear();
  uint32_t R = static_cast<uint32_t>(first.size());
  uint64_t end = uint64_t{R} + second.size();
  row.for_each_nonzero([&](uint32_t j, const auto& value) {
    if (j >= end) return;
    append_coefficient(line, value);
    line += j < R ? first[j] : second[j - R];
    line += ' ';
  });
  line += '\n';
  fwrite(line.data(), 1, line.size(), stdout);
}

// Writes value with its sign ("+3", "-2") and one blank to standard output.
void print_coefficient(int32_t value);

#endif  // CRNINV_ALGEBRA_REPORT_H_
