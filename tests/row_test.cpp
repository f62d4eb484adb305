// Row storage, its guarded addition, normalize, eliminate and check_scale.
#include "algebra/row.h"

#include <gtest/gtest.h>

#include <cstdint>
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

}  // namespace
