// Integer Gauss-Jordan reduction: small matrices worked out by hand, and
// random matrices against the plain rules (tests/plain_rules.h), which
// decide the outcome: the same rows, or the same overflow message.
#include "reduce/reduce.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/exact.h"
#include "reduce/unimodular.h"
#include "tests/plain_rules.h"
#include "tests/test_util.h"

namespace {

using namespace crninv;

// A reduction with nobody watching.
void reduce(Row* rows, uint32_t count, uint32_t n, PivotRule rule = PivotRule::kSmallestMagnitude) {
  Control control;
  Monitor monitor(control, Progress::kReduction);
  crninv::reduce(rows, count, n, rule, monitor);
}

using Matrix = std::vector<std::vector<int32_t>>;

std::unique_ptr<Row[]> make_rows(const Matrix& m) {
  std::unique_ptr<Row[]> rows(new Row[m.size()]);
  for (size_t k = 0; k < m.size(); ++k) {
    rows[k].resize(static_cast<uint32_t>(m[k].size()));
    for (uint32_t j = 0; j < m[k].size(); ++j) rows[k].add(j, m[k][j]);
  }
  return rows;
}

Matrix read_rows(const Row* rows, size_t count) {
  Matrix m(count);
  for (size_t k = 0; k < count; ++k) {
    for (uint32_t j = 0; j < rows[k].length(); ++j) m[k].push_back(rows[k].get(j));
  }
  return m;
}

struct Case {
  std::string name;
  Matrix rows;
  uint32_t count;  // rows handed to reduce
  uint32_t n;
  Matrix expected;
};

TEST(Reduce, HandWorkedMatrices) {
  const std::vector<Case> cases = {
      // 2 H2 + O2 -> 2 H2O, as (reaction | H2, O2, H2O).
      {"water",
       {{-2, -1, 0, 0}, {-1, 0, -1, 0}, {2, 0, 0, -1}},
       3,
       4,
       {{2, 0, 0, -1}, {0, 1, 0, 1}, {0, 0, 2, 1}}},
      // A -> B: equal magnitudes, position 0 stays; the row above the second
      // pivot is cleared too.
      {"A to B", {{-1, -1, 0}, {1, 0, -1}}, 2, 3, {{1, 0, -1}, {0, 1, 1}}},
      // 2 A -> B: the smaller magnitude at position 1 becomes the pivot.
      {"2A to B", {{-2, -1, 0}, {1, 0, -1}}, 2, 3, {{1, 0, -1}, {0, 1, 2}}},
      // 2 at position 1 and -2 at position 3 tie: position 1 wins. Only
      // column 0 is scanned; the final pass normalizes every row.
      {"tie", {{0, 5}, {2, 1}, {3, 0}, {-2, 1}}, 4, 1, {{2, 1}, {0, 1}, {0, 1}, {0, 1}}},
      // Column 1 has no pivot at or below position 1; the 2 above stays.
      {"no pivot", {{1, 2, 3}, {0, 0, 1}}, 2, 3, {{1, 2, 0}, {0, 0, 1}}},
      {"single row", {{0, -2, 4}}, 1, 3, {{0, 1, -2}}},
      {"no columns", {{-2, 4}, {0, -3}}, 2, 0, {{1, -2}, {0, 1}}},
      {"no rows", {{-2, 4}}, 0, 2, {{-2, 4}}},
  };
  for (const Case& c : cases) {
    auto rows = make_rows(c.rows);
    reduce(rows.get(), c.count, c.n);
    EXPECT_EQ(read_rows(rows.get(), c.rows.size()), c.expected) << c.name;
  }
}

// Rows of n entries: small, up to spread in magnitude (1: the multipliers
// of Petri nets), a few of them near the 32-bit limit when large is set,
// some rows long and full so that both forms meet.
Matrix random_matrix(std::mt19937& random, uint32_t count, uint32_t n, int32_t spread, bool large) {
  Matrix m(count, std::vector<int32_t>(n, 0));
  for (auto& row : m) {
    uint32_t fill = random() % 4 == 0 ? 2 : 12 + random() % 40;  // one in fill
    for (auto& e : row) {
      if (random() % fill != 0) continue;
      e = static_cast<int32_t>(random() % static_cast<uint32_t>(2 * spread)) - spread;
      if (e >= 0) ++e;
      if (large && random() % 20 == 0) {
        e = static_cast<int32_t>(random() % 2 == 0 ? INT32_MAX - random() % 1000
                                                   : random() % 70000 + 30000);
      }
    }
  }
  return m;
}

TEST(Reduce, AgreesWithThePlainRules) {
  std::mt19937 random(2026);
  int overflows = 0;
  for (int round = 0; round < 400; ++round) {
    uint32_t count = 1 + random() % 14;
    // Now and then long enough for rows to turn dense.
    uint32_t n = round % 5 == 0 ? 1100 + random() % 1500 : 1 + random() % 30;
    bool large = round % 3 == 0;
    Matrix m = random_matrix(random, count, n, round % 2 == 0 ? 1 : 3, large);
    std::vector<PlainRow> plain;
    for (const auto& row : m) plain.emplace_back(row.begin(), row.end());
    std::optional<std::string> message = plain_reduce(plain, n);
    auto rows = make_rows(m);
    if (!message) {
      reduce(rows.get(), count, n);
      Matrix expected;
      for (const auto& row : plain) expected.emplace_back(row.begin(), row.end());
      ASSERT_EQ(read_rows(rows.get(), count), expected) << "round " << round;
      // The reduced form does not depend on the pivots chosen, nor on when
      // the rows above them are cleared: the other rules reach it too, when
      // their own numbers fit.
      auto again = make_rows(m);
      try {
        reduce(again.get(), count, n, PivotRule::kSmallThenSparse);
        EXPECT_EQ(read_rows(again.get(), count), expected) << "round " << round;
      } catch (const WidthExceeded&) {
      }
    } else {
      ++overflows;
      EXPECT_EQ(overflow_message([&] { reduce(rows.get(), count, n); }), *message)
          << "round " << round;
    }
  }
  EXPECT_GT(overflows, 10);
}

// Where the proof holds, the other pivot rule reaches the same rows.
TEST(Reduce, PivotRulesAgreeOnUnimodularMatrices) {
  std::mt19937 random(7);
  int proven = 0;
  for (int round = 0; round < 300; ++round) {
    // A random directed graph as transitions: each moves a token from one
    // place to another (or in or out), its incidence matrix unimodular; a
    // few rounds transposed.
    uint32_t S = 1 + random() % 30, R = 1 + random() % 40;
    Matrix N(S, std::vector<int32_t>(R, 0));
    for (uint32_t j = 0; j < R; ++j) {
      uint32_t from = random() % (S + 1), to = random() % (S + 1);
      if (from < S) N[from][j] -= 1;
      if (to < S && to != from) N[to][j] += 1;
    }
    Matrix m(S, std::vector<int32_t>(R + S, 0));
    for (uint32_t k = 0; k < S; ++k) {
      for (uint32_t j = 0; j < R; ++j) m[k][j] = N[k][j];
      m[k][R + k] = -1;
    }
    auto a = make_rows(m), b = make_rows(m);
    ASSERT_TRUE(provably_unimodular(sparse_matrix(N, R))) << "round " << round;
    ++proven;
    auto c = make_rows(m);
    reduce(a.get(), S, R + S, PivotRule::kSmallestMagnitude);
    reduce(b.get(), S, R + S, PivotRule::kLeastFill);
    reduce(c.get(), S, R + S, PivotRule::kSmallThenSparse);
    ASSERT_EQ(read_rows(a.get(), S), read_rows(b.get(), S)) << "round " << round;
    ASSERT_EQ(read_rows(a.get(), S), read_rows(c.get(), S)) << "round " << round;
  }
  EXPECT_EQ(proven, 300);
}

}  // namespace
