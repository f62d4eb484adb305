// Integer Gauss-Jordan reduction on small matrices worked out by hand.
#include "algebra/reduce.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using Matrix = std::vector<std::vector<int32_t>>;

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
    std::unique_ptr<Row[]> rows(new Row[c.rows.size()]);
    for (size_t k = 0; k < c.rows.size(); ++k) {
      rows[k].resize(static_cast<uint32_t>(c.rows[k].size()));
      for (uint32_t j = 0; j < c.rows[k].size(); ++j) rows[k].add(j, c.rows[k][j]);
    }
    reduce(rows.get(), c.count, c.n);
    Matrix actual(c.rows.size());
    for (size_t k = 0; k < c.rows.size(); ++k) {
      for (uint32_t j = 0; j < rows[k].length(); ++j) actual[k].push_back(rows[k].get(j));
    }
    EXPECT_EQ(actual, c.expected) << c.name;
  }
}

}  // namespace
