// Reduction of random small networks, checked against facts computed here
// without the project's arithmetic: each row is the combination its species
// part names, its class follows its signs, pivots are clean, and there are
// as many flows as the left null space of the stoichiometry has dimensions.
// Every width must give these rows: where 32 bits suffice, the wide
// reductions print the very same report; where they do not, the wide rows
// must still pass every check. The rows of the transposed network pass the
// same checks against N^T.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/results.h"
#include "base/decimal.h"
#include "base/exact.h"
#include "reduce/modular_rref.h"
#include "reduce/reduce.h"
#include "reduce/wide_reduce.h"
#include "rows/from_matrix.h"
#include "tests/plain_rules.h"
#include "tests/test_util.h"

namespace {

using namespace crninv;

using Matrix = std::vector<std::vector<int64_t>>;

// Net changes of S species in R reactions: sparse, coefficients 1 to 3, or
// now and then so large that 32 bits cannot hold the reduction.
Matrix random_network(std::mt19937& random, bool large, uint32_t& S, uint32_t& R) {
  S = 1 + random() % 10;
  R = random() % 11;
  Matrix N(S, std::vector<int64_t>(R, 0));
  for (uint32_t j = 0; j < R; ++j) {
    for (uint32_t k = 0; k < S; ++k) {
      uint32_t roll = random() % 10;
      int64_t coefficient = 1 + random() % 3;
      if (large && random() % 4 == 0) coefficient = 1 + random() % 3000000;
      if (roll < 2) N[k][j] -= coefficient;                // reactant
      if (roll == 2 || roll == 3) N[k][j] += coefficient;  // product
    }
  }
  return N;
}

mpz_class value_at(const Row& row, uint32_t j) {
  return row.get(j);
}

mpz_class value_at(const WideRow<mpz_class>& row, uint32_t j) {
  const mpz_class* v = row.find(j);
  return v == nullptr ? mpz_class(0) : *v;
}

template <typename T>
mpz_class value_at(const WideRow<T>& row, uint32_t j) {
  const T* v = row.find(j);
  if (v == nullptr) return 0;
  std::string text;
  append_decimal(text, *v);
  return mpz_class(text);
}

// Empty when every property holds for the reduced rows, else what failed.
template <typename RowType>
std::string check_rows(const RowType* rows, const Matrix& N, uint32_t S, uint32_t R) {
  std::ostringstream failure;
  uint32_t flows = 0;
  uint32_t previous_pivot = 0;
  for (uint32_t i = 0; i < S; ++i) {
    const RowType& row = rows[i];
    if (row.length() != R + S) failure << "row " << i << " has length " << row.length() << "; ";
    std::vector<mpz_class> c(S);
    bool named = false;
    for (uint32_t k = 0; k < S; ++k) {
      c[k] = -value_at(row, R + k);
      named = named || c[k] != 0;
    }
    if (!named) failure << "row " << i << " names no species; ";
    bool negative = false, positive = false;
    for (uint32_t j = 0; j < R; ++j) {
      mpz_class combined = 0;
      for (uint32_t k = 0; k < S; ++k) combined += c[k] * static_cast<long>(N[k][j]);
      if (value_at(row, j) != combined)
        failure << "row " << i << " column " << j << " is no c^T N; ";
      negative = negative || combined < 0;
      positive = positive || combined > 0;
    }
    RowClass expected = negative && positive   ? RowClass::kIrreducible
                        : negative || positive ? RowClass::kInequality
                                               : RowClass::kFlow;
    if (classify(row, R) != expected) failure << "row " << i << " has the wrong class; ";
    if (expected == RowClass::kFlow) ++flows;

    // First nonzero entry: the pivot, positive, alone in its column, after
    // the previous row's pivot; and the row is primitive.
    uint32_t pivot = 0;
    while (pivot < R + S && value_at(row, pivot) == 0) ++pivot;
    if (pivot == R + S) continue;  // reported above as naming no species
    if (value_at(row, pivot) <= 0) failure << "row " << i << " pivot not positive; ";
    if (i > 0 && pivot <= previous_pivot) failure << "row " << i << " pivot out of order; ";
    previous_pivot = pivot;
    for (uint32_t other = 0; other < S; ++other) {
      if (other != i && value_at(rows[other], pivot) != 0) {
        failure << "column " << pivot << " nonzero outside its pivot row; ";
      }
    }
    mpz_class g = 0;
    for (uint32_t j = 0; j < R + S; ++j) g = gcd(g, value_at(row, j));
    if (g != 1) failure << "row " << i << " not primitive; ";
  }
  uint32_t rank = plain_rank(N);
  if (flows != S - rank) failure << flows << " flows, expected " << S - rank << "; ";
  return failure.str();
}

// Every entry of the rows, as text: two reductions that agree here print
// the same report.
template <typename RowType>
std::string report(const RowType* rows, uint32_t S, uint32_t R) {
  std::string text;
  for (uint32_t k = 0; k < S; ++k) {
    for (uint32_t j = 0; j < R + S; ++j) text += value_at(rows[k], j).get_str() + " ";
    text += "\n";
  }
  return text;
}

// A reduction with nobody watching.
template <typename RowType>
void reduce_quietly(RowType* rows, uint32_t count, uint32_t n, PivotRule rule) {
  Control control;
  Monitor monitor(control, Progress::kReduction);
  reduce_rows(rows, count, n, rule, monitor);
}

// Empty when every property holds at every width, else what failed.
std::string check_network(uint32_t seed, bool large) {
  std::mt19937 random(seed);
  uint32_t S, R;
  Matrix N = random_network(random, large, S, R);

  // The augmented matrix: net changes, then -1 at column R + k.
  const SparseMatrix m = augmented(sparse_matrix(N, R));
  std::string failure;
  std::string narrow;  // the 32-bit report, when 32 bits suffice
  try {
    std::unique_ptr<Row[]> rows = rows_from<Row>(m);
    reduce_quietly(rows.get(), S, R + S, PivotRule::kSmallestMagnitude);
    narrow = report(rows.get(), S, R);
    failure += check_rows(rows.get(), N, S, R);
  } catch (const WidthExceeded&) {
  }

  auto wide = [&](const char* name, const auto* wide_rows) {
    std::string text = report(wide_rows, S, R);
    if (!narrow.empty() && text != narrow)
      failure += std::string(name) + " prints another report; ";
    std::string wrong = check_rows(wide_rows, N, S, R);
    if (!wrong.empty()) failure += std::string(name) + ": " + wrong;
  };
  auto at_width = [&](auto width, const char* name) {
    using T = decltype(width);
    for (PivotRule rule : {PivotRule::kSmallestMagnitude, PivotRule::kSmallThenSparse}) {
      std::unique_ptr<WideRow<T>[]> w = rows_from<WideRow<T>>(m);
      try {
        reduce_quietly(w.get(), S, R + S, rule);
      } catch (const WidthExceeded&) {
        continue;  // this width cannot hold the numbers: another one will
      }
      wide(name, w.get());
    }
  };
  at_width(int64_t{}, "64 bits");
  at_width(Int128{}, "128 bits");
  at_width(mpz_class{}, "GMP");
  Control control;
  Monitor monitor(control, Progress::kReduction);
  auto modular = modular_reduce(m, R + S, monitor);
  if (modular == nullptr) {
    failure += "no result modulo primes; ";
  } else {
    wide("modulo primes", modular.get());
  }
  if (!failure.empty()) failure += "(S = " + std::to_string(S) + ", R = " + std::to_string(R) + ")";
  return failure;
}

// The report on reactions: the rows of the transposed network, reduced as
// --transitions reduces them, pass the same checks against N^T. Their flows
// are the T-flows, R minus the rank of N of them.
std::string check_transposed(uint32_t seed) {
  std::mt19937 random(seed);
  uint32_t S, R;
  Matrix N = random_network(random, false, S, R);
  if (R == 0) return "";
  // The transpose as the library makes it, checked against N^T made here.
  std::unique_ptr<Row[]> reaction_rows = rows_from<Row>(augmented(transposed(sparse_matrix(N, R))));
  Matrix T(R, std::vector<int64_t>(S));
  for (uint32_t k = 0; k < S; ++k) {
    for (uint32_t j = 0; j < R; ++j) T[j][k] = N[k][j];
  }
  std::string failure;
  try {
    reduce_quietly(reaction_rows.get(), R, S + R, PivotRule::kSmallThenSparse);
    failure = check_rows(reaction_rows.get(), T, R, S);
  } catch (const WidthExceeded&) {
  }
  if (!failure.empty()) failure += "(S = " + std::to_string(S) + ", R = " + std::to_string(R) + ")";
  return failure;
}

TEST(Property, RandomNetworks) {
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    EXPECT_EQ(check_network(seed, false), "") << "seed " << seed;
  }
}

TEST(Property, RandomNetworksBeyond32Bits) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    EXPECT_EQ(check_network(seed, true), "") << "seed " << seed;
  }
}

TEST(Property, ReactionsOfRandomNetworks) {
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    EXPECT_EQ(check_transposed(seed), "") << "seed " << seed;
  }
}

}  // namespace
