// Reduction of random small networks, checked against facts computed here
// without the project's arithmetic: each row is the combination its species
// part names, its class follows its signs, pivots are clean, and there are
// as many flows as the left null space of the stoichiometry has dimensions.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "algebra/reduce.h"
#include "algebra/report.h"

namespace {

using Matrix = std::vector<std::vector<int64_t>>;

// Rank over the integers modulo the prime 2^31 - 1.
uint32_t rank_mod_p(Matrix m) {
  const int64_t p = 2147483647;
  auto power = [&](int64_t base, int64_t e) {
    int64_t result = 1;
    for (base %= p; e > 0; e >>= 1, base = base * base % p) {
      if (e & 1) result = result * base % p;
    }
    return result;
  };
  for (auto& row : m) {
    for (auto& x : row) x = ((x % p) + p) % p;
  }
  uint32_t rank = 0;
  size_t columns = m.empty() ? 0 : m[0].size();
  for (size_t j = 0; j < columns && rank < m.size(); ++j) {
    size_t k = rank;
    while (k < m.size() && m[k][j] == 0) ++k;
    if (k == m.size()) continue;
    std::swap(m[k], m[rank]);
    int64_t inverse = power(m[rank][j], p - 2);
    for (size_t other = rank + 1; other < m.size(); ++other) {
      int64_t f = m[other][j] * inverse % p;
      for (size_t i = j; i < columns; ++i) {
        m[other][i] = ((m[other][i] - f * m[rank][i]) % p + p) % p;
      }
    }
    ++rank;
  }
  return rank;
}

// Net changes of S species in R reactions: sparse, coefficients 1 to 3.
Matrix random_network(std::mt19937& random, uint32_t& S, uint32_t& R) {
  S = 1 + random() % 10;
  R = random() % 11;
  Matrix N(S, std::vector<int64_t>(R, 0));
  for (uint32_t j = 0; j < R; ++j) {
    for (uint32_t k = 0; k < S; ++k) {
      uint32_t roll = random() % 10;
      int64_t coefficient = 1 + random() % 3;
      if (roll < 2) N[k][j] -= coefficient;                // reactant
      if (roll == 2 || roll == 3) N[k][j] += coefficient;  // product
    }
  }
  return N;
}

// Empty when every property holds, else what failed.
std::string check_network(uint32_t seed) {
  std::mt19937 random(seed);
  uint32_t S, R;
  Matrix N = random_network(random, S, R);

  // The augmented matrix: net changes, then -1 at column R + k.
  std::unique_ptr<Row[]> rows(new Row[S]);
  for (uint32_t k = 0; k < S; ++k) {
    rows[k].resize(R + S);
    for (uint32_t j = 0; j < R; ++j) rows[k].add(j, static_cast<int32_t>(N[k][j]));
    rows[k].add(R + k, -1);
  }
  reduce(rows.get(), S, R + S);

  std::ostringstream failure;
  uint32_t flows = 0;
  uint32_t previous_pivot = 0;
  for (uint32_t i = 0; i < S; ++i) {
    const Row& row = rows[i];
    if (row.length() != R + S) failure << "row " << i << " has length " << row.length() << "; ";
    std::vector<int64_t> c(S);
    bool named = false;
    for (uint32_t k = 0; k < S; ++k) {
      c[k] = -static_cast<int64_t>(row.get(R + k));
      named = named || c[k] != 0;
    }
    if (!named) failure << "row " << i << " names no species; ";
    bool negative = false, positive = false;
    for (uint32_t j = 0; j < R; ++j) {
      int64_t combined = 0;
      for (uint32_t k = 0; k < S; ++k) combined += c[k] * N[k][j];
      if (row.get(j) != combined) failure << "row " << i << " column " << j << " is no c^T N; ";
      negative = negative || combined < 0;
      positive = positive || combined > 0;
    }
    int32_t expected = negative && positive   ? ROW_IRREDUCIBLE
                       : negative || positive ? ROW_INEQUALITY
                                              : ROW_FLOW;
    if (classify(row, R, S) != expected) failure << "row " << i << " has the wrong class; ";
    if (expected == ROW_FLOW) ++flows;

    // First nonzero entry: the pivot, positive, alone in its column, after
    // the previous row's pivot; and the row is primitive.
    uint32_t pivot = 0;
    while (pivot < R + S && row.get(pivot) == 0) ++pivot;
    if (pivot == R + S) continue;  // reported above as naming no species
    if (row.get(pivot) <= 0) failure << "row " << i << " pivot not positive; ";
    if (i > 0 && pivot <= previous_pivot) failure << "row " << i << " pivot out of order; ";
    previous_pivot = pivot;
    for (uint32_t other = 0; other < S; ++other) {
      if (other != i && rows[other].get(pivot) != 0) {
        failure << "column " << pivot << " nonzero outside its pivot row; ";
      }
    }
    int64_t g = 0;
    for (uint32_t j = 0; j < R + S; ++j) g = std::gcd(g, static_cast<int64_t>(row.get(j)));
    if (g != 1) failure << "row " << i << " not primitive; ";
  }
  uint32_t rank = rank_mod_p(N);
  if (flows != S - rank) failure << flows << " flows, expected " << S - rank << "; ";
  if (!failure.str().empty()) failure << "(S = " << S << ", R = " << R << ")";
  return failure.str();
}

TEST(Property, RandomNetworks) {
  for (uint32_t seed = 1; seed <= 400; ++seed)
    EXPECT_EQ(check_network(seed), "") << "seed " << seed;
}

}  // namespace
