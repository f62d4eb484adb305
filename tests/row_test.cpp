// Row storage, its guarded addition, normalize, eliminate and check_scale.
#include "rows/row.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "tests/plain_rules.h"
#include "tests/test_util.h"

namespace {

using namespace crninv;

using Entries = std::vector<int32_t>;

void fill(Row& row, const Entries& entries) {
  row.resize(static_cast<uint32_t>(entries.size()));
  for (uint32_t i = 0; i < entries.size(); ++i) row.add(i, entries[i]);
}

Entries entries(const Row& row) {
  Entries result;
  for (uint32_t i = 0; i < row.length(); ++i) result.push_back(row.get(i));
  return result;
}

const std::string kMultiply = kMultiplyOverflow;
const std::string kAddition = kAdditionOverflow;

TEST(Row, EmptyRowReadsZeroAndIgnoresAdd) {
  Row row;
  row.add(0, 5);
  EXPECT_EQ(row.length(), 0u);
  EXPECT_EQ(row.get(0), 0);
  EXPECT_EQ(row.get(UINT32_MAX), 0);
}

TEST(Row, PastTheEndReadsZeroAndAddIsIgnored) {
  Row row;
  fill(row, {1, 2, 3});
  row.add(3, 7);
  row.add(UINT32_MAX, 7);
  EXPECT_EQ(row.get(3), 0);
  EXPECT_EQ(row.get(UINT32_MAX), 0);
  EXPECT_EQ(entries(row), (Entries{1, 2, 3}));
}

TEST(Row, ResizeDiscardsContents) {
  Row row;
  row.resize(4);
  row.add(2, 5);
  row.resize(4);
  EXPECT_EQ(entries(row), (Entries{0, 0, 0, 0}));
  row.resize(0);
  EXPECT_EQ(row.length(), 0u);
  EXPECT_EQ(row.get(0), 0);
}

TEST(Row, AddAccumulates) {
  Row row;
  row.resize(3);
  row.add(1, -1);
  row.add(1, 3);
  EXPECT_EQ(entries(row), (Entries{0, 2, 0}));
}

TEST(Row, SwapExchangesEntriesAndSizes) {
  Row a, b;
  fill(a, {1, 2, 3});
  fill(b, {4, 5, 6, 7, 8});
  a.swap(b);
  EXPECT_EQ(entries(a), (Entries{4, 5, 6, 7, 8}));
  EXPECT_EQ(entries(b), (Entries{1, 2, 3}));
  a.swap(a);
  EXPECT_EQ(entries(a), (Entries{4, 5, 6, 7, 8}));
}

TEST(Row, AddAcceptsExactlyTheLowestValue) {
  Row row;
  fill(row, {-2147483647, INT32_MIN});
  row.add(0, -1);
  row.add(1, 2147483647);
  EXPECT_EQ(entries(row), (Entries{INT32_MIN, -1}));
}

TEST(RowOverflow, AddOutOfRangeEnds) {
  const std::vector<Entries> cases = {{2147483647, 1}, {1, 2147483647}, {-2147483647, -2}};
  for (const Entries& c : cases) {
    Row row;
    fill(row, {c[0]});
    EXPECT_EQ(overflow_message([&] { row.add(0, c[1]); }), kAddition) << c[0] << " + " << c[1];
  }
}

TEST(Row, Normalize) {
  const std::vector<std::pair<Entries, Entries>> cases = {
      {{}, {}},
      {{0, 0, 0}, {0, 0, 0}},
      {{0, -1}, {0, 1}},
      {{-6, 4}, {3, -2}},
      {{6, -4}, {3, -2}},
      {{1, 5}, {1, 5}},
      {{0, 0, -7}, {0, 0, 1}},
      {{4, 6, 0, -2}, {2, 3, 0, -1}},
      {{-2147483647, 0}, {1, 0}},
      // -2147483648 has the magnitude 2147483648 and is divided exactly.
      {{0, INT32_MIN}, {0, 1}},
      {{INT32_MIN, 0, INT32_MIN}, {1, 0, 1}},
      {{INT32_MIN, 2}, {1073741824, -1}},
      {{1, INT32_MIN}, {1, INT32_MIN}},
      {{2147483647, INT32_MIN}, {2147483647, INT32_MIN}},
  };
  for (const auto& [in, out] : cases) {
    Row row;
    fill(row, in);
    row.normalize();
    EXPECT_EQ(entries(row), out) << testing::PrintToString(in);
  }
}

TEST(RowOverflow, NormalizeCannotNegateLowestValue) {
  const std::vector<Entries> cases = {{INT32_MIN, 1}, {-1, INT32_MIN}, {0, -3, INT32_MIN}};
  for (const Entries& in : cases) {
    Row row;
    fill(row, in);
    EXPECT_EQ(overflow_message([&] { row.normalize(); }), kMultiply) << testing::PrintToString(in);
  }
}

TEST(Row, Eliminate) {
  Row::Workspace work;
  struct Case {
    Entries row, pivot;
    uint32_t column;
    Entries expected;
  };
  const std::vector<Case> cases = {
      {{4, 1}, {6, 1}, 0, {0, 1}},
      {{2, 3}, {-3, 1}, 0, {0, 1}},
      {{-2, -1, 0}, {1, 0, -1}, 0, {0, 1, 2}},
      // The pivot's missing columns count as 0.
      {{2, 4, 6}, {1}, 0, {0, 2, 3}},
      // No-ops leave the row as it is, not normalized.
      {{0, -4}, {3, 1}, 0, {0, -4}},
      {{2, -4}, {0, 1}, 0, {2, -4}},
      {{2, -4}, {0, 0, 0, 0, 0, 1}, 5, {2, -4}},
  };
  for (const Case& c : cases) {
    Row row, pivot;
    fill(row, c.row);
    fill(pivot, c.pivot);
    row.eliminate(c.column, pivot, work);
    EXPECT_EQ(entries(row), c.expected) << testing::PrintToString(c.row);
    EXPECT_EQ(entries(pivot), c.pivot);
  }
}

TEST(RowOverflow, EliminateOverflow) {
  Row::Workspace work;
  struct Case {
    Entries row, pivot;
    const std::string& message;
  };
  const std::vector<Case> cases = {
      // lcm(65537, 65539) does not fit.
      {{65537, 0}, {65539, 0}, kMultiply},
      // c = 2 on this row: 2147483647 * 2.
      {{1, 2147483647}, {-2, 1}, kMultiply},
      // b = 2 on the pivot: 1073741824 * 2, checked before the sum in column 1 overflows.
      {{2, 2000000000, 0}, {-1, 100000000, 1073741824}, kMultiply},
      // The products fit; 2000000000 + 2 * 100000000 does not.
      {{2, 2000000000, 0}, {-1, 100000000, 0}, kAddition},
      // c = -1, b = 1: -(-2147483647) + 2.
      {{1, -2147483647}, {1, 2}, kAddition},
  };
  for (const Case& c : cases) {
    Row row, pivot;
    fill(row, c.row);
    fill(pivot, c.pivot);
    EXPECT_EQ(overflow_message([&] { row.eliminate(0, pivot, work); }), c.message)
        << testing::PrintToString(c.row);
  }
}

// Multipliers of 1 and -1 whose sums reach -2147483648 or 2147483648, with
// the entries next to each other and with each in a block of its own. The
// row must come out, or the run end, exactly as the plain rules say: the
// sum first, then the common factor and the sign.
Entries spread(const Entries& in, bool apart) {
  if (!apart) return in;
  Entries out(in.size() * Row::kBlock, 0);
  for (size_t i = 0; i < in.size(); ++i) out[i * Row::kBlock + i % 3] = in[i];
  return out;
}

TEST(Row, EliminateNearTheLimit) {
  Row::Workspace work;
  struct Case {
    Entries row, pivot, expected;
  };
  const std::vector<Case> cases = {
      // c = -1: the sum -2147483648 is kept while a common factor 2 halves it.
      {{1, 2147483647, 2}, {1, -1, 0}, {0, 1073741824, 1}},
      // A sum of -2147483648 after a positive first entry is not negated.
      {{1, -1, 2147483647}, {1, 0, -1}, {0, 1, INT32_MIN}},
      // c = 1 (the pivot is negative), same two cases.
      {{1, -2147483647, -2}, {-1, -1, 0}, {0, 1073741824, 1}},
      {{1, 1, -2147483647}, {-1, 0, -1}, {0, 1, INT32_MIN}},
      // The largest sums that fit, both signs.
      {{1, -2147483646, 0}, {1, 1, 0}, {0, 1, 0}},
      {{-1, 2147483646, 5}, {1, 1, 0}, {0, 2147483647, 5}},
  };
  for (bool apart : {false, true}) {
    for (const Case& c : cases) {
      Row row, pivot;
      fill(row, spread(c.row, apart));
      fill(pivot, spread(c.pivot, apart));
      row.eliminate(0, pivot, work);
      EXPECT_EQ(entries(row), spread(c.expected, apart)) << testing::PrintToString(c.row);
    }
  }
}

TEST(RowOverflow, EliminateNearTheLimit) {
  Row::Workspace work;
  struct Case {
    Entries row, pivot;
    const std::string& message;
  };
  const std::vector<Case> cases = {
      // -2147483648 must be negated, with no common factor to save it.
      {{1, 2147483647, 1}, {1, -1, 0}, kMultiply},
      {{1, -2147483647, 1}, {-1, -1, 0}, kMultiply},
      // 2147483648 exactly, which negation would turn into -2147483648.
      {{1, -2147483647, 0}, {1, 1, 0}, kAddition},
      {{1, 2147483647, 0}, {-1, 1, 0}, kAddition},
      // An overflowing sum wins over a later -2147483648 that needs negating.
      {{1, 2147483647, -2147483647, 1}, {1, -1, 2, 0}, kAddition},
      // and over an earlier one.
      {{1, -2147483647, 2147483647}, {-1, -1, 1}, kAddition},
  };
  for (bool apart : {false, true}) {
    for (const Case& c : cases) {
      Row row, pivot;
      fill(row, spread(c.row, apart));
      fill(pivot, spread(c.pivot, apart));
      EXPECT_EQ(overflow_message([&] { row.eliminate(0, pivot, work); }), c.message)
          << testing::PrintToString(c.row);
    }
  }
}

TEST(Row, CheckScalePasses) {
  const std::vector<std::pair<int32_t, Entries>> cases = {
      {0, {INT32_MIN, 2147483647}},
      {65536, {32767, -32767, 0}},
      {-1, {2147483647, -2147483647}},
      {2, {1073741823, -1073741823}},
  };
  for (const auto& [factor, in] : cases) {
    Row row;
    fill(row, in);
    row.check_scale(factor);
    EXPECT_EQ(entries(row), in) << factor;
  }
}

TEST(RowOverflow, CheckScaleRefuses) {
  const std::vector<std::pair<int32_t, int32_t>> cases = {
      {65536, 32768},   {-65536, 32768}, {32768, -65536},
      {2, -1073741824}, {-1, INT32_MIN}, {1, INT32_MIN},
  };
  for (const auto& c : cases) {
    int32_t factor = c.first, entry = c.second;
    Row row;
    fill(row, {0, entry});
    EXPECT_EQ(overflow_message([&] { row.check_scale(factor); }), kMultiply)
        << factor << " * " << entry;
  }
}

// A dense row: entries at the given columns, and fillers enough in columns
// 1024 on to hold the row in its dense form.
void fill_dense(Row& row, int32_t filler,
                const std::vector<std::pair<uint32_t, int32_t>>& entries) {
  row.resize(4096);
  for (uint32_t column = 1024; column < 4096; column += 8) row.add(column, filler);
  for (const auto& [column, value] : entries) row.add(column, value);
}

TEST(RowOverflow, DenseRowsCarryLargeEntriesToTheNextStep) {
  Row::Workspace work;
  // A multiplier of -1 brings 2147483646 into the row from the pivot (and
  // the sign flag turns it into -2147483646); the next step adds -5.
  Row row, pivot, next;
  fill_dense(row, 1, {{0, 1}, {2, 1}});
  fill_dense(pivot, -1, {{0, 1}, {100, 2147483646}});
  fill_dense(next, 1, {{1, 1}, {100, 5}});
  ASSERT_TRUE(row.is_dense() && pivot.is_dense() && next.is_dense());
  row.eliminate(0, pivot, work);
  ASSERT_TRUE(row.is_dense());
  ASSERT_EQ(row.get(100), -2147483646);
  row.add(1, 1);
  EXPECT_EQ(overflow_message([&] { row.eliminate(1, next, work); }), kAddition);
}

// Rows of every length against the plain rules (tests/plain_rules.h):
// short rows stay sparse, long ones turn dense and back as they fill and
// empty, and every pair of forms meets in an elimination. Catches faults in
// the bookkeeping that short rows never reach (blocks across a row's end,
// pivots longer or shorter than the row, blocks that become zero, the sign
// flag, stale bounds on the magnitudes near the 32-bit limit).
void expect_same(const Row& row, const PlainRow& plain, int round) {
  ASSERT_EQ(row.length(), plain.size()) << "round " << round;
  uint32_t expected_next = Row::kNone;
  for (uint32_t i = row.length(); i-- > 0;) {
    ASSERT_EQ(row.get(i), plain[i]) << "round " << round << " column " << i;
    if (plain[i] != 0) expected_next = i;
    ASSERT_EQ(row.next_nonzero(i), expected_next) << "round " << round << " column " << i;
  }
}

TEST(Row, RowsOfEveryFormAgreeWithThePlainRules) {
  Row::Workspace work;
  std::mt19937 random(12345);
  auto pick = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
  const int kRows = 4;
  int overflows = 0;
  for (int round = 0; round < 400; ++round) {
    Row rows[kRows];
    std::vector<PlainRow> plain;
    // Mostly one length, so that long rows meet long pivots.
    uint32_t length = round % 2 == 0 ? 1 + pick(200) : 1024 + pick(2000);
    bool near_limit = round % 7 == 0;
    for (int r = 0; r < kRows; ++r) {
      uint32_t n = pick(4) == 0 ? 1 + pick(length) : length;
      rows[r].resize(n);
      plain.emplace_back(n, 0);
      // Clusters of small entries, some cancelling again; some rows full.
      uint32_t entries = pick(3) == 0 ? n / 2 : pick(12);
      for (uint32_t k = entries; k > 0; --k) {
        uint32_t column = pick(n);
        int32_t value = static_cast<int32_t>(pick(7)) - 3;
        if (near_limit && pick(50) == 0) value = INT32_MAX - static_cast<int32_t>(pick(3));
        if (plain[r][column] + value > INT32_MAX) continue;
        rows[r].add(column, value);
        plain[r][column] += value;
      }
    }
    for (int step = 0; step < 8; ++step) {
      int a = static_cast<int>(pick(kRows)), b = static_cast<int>(pick(kRows));
      if (step == 3) {
        rows[a].swap(rows[b]);
        std::swap(plain[a], plain[b]);
      } else if (a != b) {
        uint32_t column = rows[a].next_nonzero(pick(rows[a].length()));
        if (column == Row::kNone) column = pick(rows[a].length());
        // Mostly make the pivot nonzero there, so that the step does work.
        if (rows[b].get(column) == 0 && pick(4) != 0 && column < plain[b].size()) {
          rows[b].add(column, 1);
          plain[b][column] += 1;
        }
        PlainRow expected = plain[a];
        std::optional<std::string> message = plain_eliminate(expected, plain[b], column);
        if (message) {
          // The row is left as it may be; the round ends.
          ++overflows;
          EXPECT_EQ(overflow_message([&] { rows[a].eliminate(column, rows[b], work); }), *message)
              << "round " << round;
          break;
        }
        rows[a].eliminate(column, rows[b], work);
        plain[a] = expected;
      } else {
        ASSERT_FALSE(plain_normalize(plain[a])) << "round " << round;
        rows[a].normalize();
      }
      for (int r = 0; r < kRows; ++r) expect_same(rows[r], plain[r], round);
    }
  }
  EXPECT_GT(overflows, 5);
}

}  // namespace
