// Row storage, its guarded addition, normalize, eliminate and check_scale.
#include "algebra/row.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "tests/test_util.h"

namespace {

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

const std::string kMultiply = literal_regex("integer overflow on multiply\n");
const std::string kAddition = literal_regex("Integer overflow on addition\n");

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

TEST(RowDeath, AddOutOfRangeEnds) {
  const std::vector<Entries> cases = {{2147483647, 1}, {1, 2147483647}, {-2147483647, -2}};
  for (const Entries& c : cases) {
    Row row;
    fill(row, {c[0]});
    EXPECT_EXIT(row.add(0, c[1]), testing::ExitedWithCode(1), kAddition) << c[0] << " + " << c[1];
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

TEST(RowDeath, NormalizeCannotNegateLowestValue) {
  const std::vector<Entries> cases = {{INT32_MIN, 1}, {-1, INT32_MIN}, {0, -3, INT32_MIN}};
  for (const Entries& in : cases) {
    Row row;
    fill(row, in);
    EXPECT_EXIT(row.normalize(), testing::ExitedWithCode(1), kMultiply)
        << testing::PrintToString(in);
  }
}

TEST(Row, Eliminate) {
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
    row.eliminate(c.column, pivot);
    EXPECT_EQ(entries(row), c.expected) << testing::PrintToString(c.row);
    EXPECT_EQ(entries(pivot), c.pivot);
  }
}

TEST(RowDeath, EliminateOverflow) {
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
    EXPECT_EXIT(row.eliminate(0, pivot), testing::ExitedWithCode(1), c.message)
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
      row.eliminate(0, pivot);
      EXPECT_EQ(entries(row), spread(c.expected, apart)) << testing::PrintToString(c.row);
    }
  }
}

TEST(RowDeath, EliminateNearTheLimit) {
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
      EXPECT_EXIT(row.eliminate(0, pivot), testing::ExitedWithCode(1), c.message)
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

TEST(RowDeath, CheckScaleRefuses) {
  const std::vector<std::pair<int32_t, int32_t>> cases = {
      {65536, 32768},   {-65536, 32768}, {32768, -65536},
      {2, -1073741824}, {-1, INT32_MIN}, {1, INT32_MIN},
  };
  for (const auto& [factor, entry] : cases) {
    Row row;
    fill(row, {0, entry});
    EXPECT_EXIT(row.check_scale(factor), testing::ExitedWithCode(1), kMultiply)
        << factor << " * " << entry;
  }
}

// Long sparse rows against a plain reference of the same rules: catches
// faults in the zero-block bookkeeping that short rows never reach (blocks
// across a row's end, pivots longer or shorter than the row, blocks that
// become zero, stale lower bounds after swaps and additions).
class Reference {
 public:
  explicit Reference(size_t n) : v(n, 0) {}
  int64_t at(size_t i) const { return i < v.size() ? v[i] : 0; }
  void normalize() {
    int64_t g = 0, s = 0;
    for (int64_t e : v) {
      if (e == 0) continue;
      if (s == 0) s = e < 0 ? -1 : 1;
      g = std::gcd(g, e < 0 ? -e : e);
    }
    if (g > 0) {
      for (int64_t& e : v) e /= g * s;
    }
  }
  void eliminate(size_t j, const Reference& pivot) {
    int64_t t = at(j), p = pivot.at(j);
    if (j >= v.size() || t == 0 || p == 0) return;
    int64_t l = std::lcm(t, p);
    int64_t c = (p > 0 ? -1 : 1) * l / (t < 0 ? -t : t);
    int64_t b = (t < 0 ? -1 : 1) * l / (p < 0 ? -p : p);
    for (size_t i = 0; i < v.size(); ++i) v[i] = c * v[i] + b * pivot.at(i);
    normalize();
  }
  std::vector<int64_t> v;
};

void expect_same(const Row& row, const Reference& ref, int round) {
  ASSERT_EQ(row.length(), ref.v.size()) << "round " << round;
  uint32_t expected_next = Row::kNone;
  for (uint32_t i = row.length(); i-- > 0;) {
    ASSERT_EQ(row.get(i), ref.v[i]) << "round " << round << " column " << i;
    if (ref.v[i] != 0) {
      ASSERT_TRUE(row.maybe_nonzero(i)) << "round " << round << " column " << i;
      expected_next = i;
    }
    ASSERT_EQ(row.next_nonzero(i), expected_next) << "round " << round << " column " << i;
  }
}

TEST(Row, LongSparseRowsAgreeWithPlainArithmetic) {
  std::mt19937 random(12345);
  auto pick = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
  const int kRows = 4;
  for (int round = 0; round < 300; ++round) {
    Row rows[kRows];
    std::vector<Reference> refs;
    for (int r = 0; r < kRows; ++r) {
      uint32_t n = 1 + pick(200);
      rows[r].resize(n);
      refs.emplace_back(n);
      // A few clusters of small entries, some of them cancelling again.
      for (uint32_t k = pick(12); k > 0; --k) {
        uint32_t column = pick(n);
        int32_t value = static_cast<int32_t>(pick(7)) - 3;
        rows[r].add(column, value);
        refs[r].v[column] += value;
      }
    }
    for (int step = 0; step < 6; ++step) {
      int a = static_cast<int>(pick(kRows)), b = static_cast<int>(pick(kRows));
      if (step == 3) {
        rows[a].swap(rows[b]);
        std::swap(refs[a], refs[b]);
      } else if (a != b) {
        uint32_t column = rows[a].next_nonzero(pick(rows[a].length()));
        if (column == Row::kNone) column = pick(rows[a].length());
        // Mostly make the pivot nonzero there, so that the step does work.
        if (rows[b].get(column) == 0 && pick(4) != 0) {
          rows[b].add(column, 2);
          if (column < refs[b].v.size()) refs[b].v[column] += 2;
        }
        rows[a].eliminate(column, rows[b]);
        refs[a].eliminate(column, refs[b]);
      } else {
        rows[a].normalize();
        refs[a].normalize();
      }
      for (int r = 0; r < kRows; ++r) expect_same(rows[r], refs[r], round);
    }
  }
}

}  // namespace
