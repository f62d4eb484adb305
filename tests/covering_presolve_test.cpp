// The covering presolve: each rule alone on a small cone, what it leaves
// and the semiflow read back through its joins; a join that would pass
// 2^53 is not made.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <vector>

#include "base/monitor.h"
#include "covering/cone_rows.h"
#include "covering/presolve.h"
#include "tests/test_util.h"

namespace {

using Dense = std::vector<std::vector<int64_t>>;

// y A, exactly.
std::vector<mpz_class> times(const std::vector<mpz_class>& y, const crninv::SparseMatrix& a) {
  std::vector<mpz_class> sum(a.columns);
  for (uint32_t i = 0; i < a.rows; ++i) {
    a.for_each_in_row(i, [&](uint32_t j, int64_t v) { sum[j] += y[i] * static_cast<long>(v); });
  }
  return sum;
}

struct Case {
  const char* name;
  Dense rows;
  uint32_t columns;
  uint32_t live;          // unknowns left
  uint32_t alone;         // of them, with an empty row
  uint32_t columns_left;  // columns with an entry left
  // The rows of A whose value is positive when every unknown left is 1
  // (those that the presolve's own semiflows, alone, cover).
  std::vector<uint8_t> read_positive;
};

TEST(CoveringPresolve, EachRuleAlone) {
  const Case cases[] = {
      // Column 0 has one sign: rows 0 and 1 are zero; then column 1 holds
      // row 2 alone, and it goes too.
      {"one-signed columns", {{1, 0}, {2, -1}, {0, 1}}, 2, 0, 0, 0, {0, 0, 0}},
      // 2 y0 = 3 y1: one unknown, y0 = 3 w and y1 = 2 w, its row empty.
      {"doubleton column", {{2}, {-3}}, 1, 1, 1, 0, {1, 1}},
      // Columns 1 and 2 repeat column 0 and go; rows 0 and 1 are then
      // parallel and join, the joined row and row 2 share a doubleton
      // column, and that join empties the row. Row 3 is empty from the
      // start.
      {"parallel rows", {{1, -1, 1}, {2, -2, 2}, {-1, 1, -1}, {0, 0, 0}}, 3, 2, 2, 0, {1, 1, 1, 1}},
      // Column 1 is twice column 0 and goes, column 2 is column 0 with
      // its sign reversed and goes too; rows 1 and 2 are then opposite,
      // not parallel: three unknowns stay on two columns for the program.
      {"repeated columns", {{1, 2, -1, 1}, {-1, -2, 1, 1}, {1, 2, -1, -1}}, 4, 3, 0, 2, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    crninv::SparseMatrix a = sparse_matrix(c.rows, c.columns);
    crninv::Control control;
    crninv::Monitor monitor(control, crninv::Progress::kCovering);
    crninv::Presolved parts = crninv::presolve(a, std::vector<uint8_t>(a.rows, 1), monitor);
    uint32_t live = 0;
    std::vector<mpz_class> z(a.rows);
    for (uint32_t s = 0; s < a.rows; ++s) live += parts.cone.live(s);
    EXPECT_EQ(live, c.live);
    EXPECT_EQ(parts.alone.size(), c.alone);
    uint32_t columns_left = 0;
    for (uint32_t j = 0; j < a.columns; ++j) {
      columns_left += parts.by_column.start[j + 1] > parts.by_column.start[j];
    }
    EXPECT_EQ(columns_left, c.columns_left);
    for (uint32_t s : parts.alone) z[s] = 1;
    std::vector<mpz_class> y = parts.cone.read_back(z);
    for (uint32_t i = 0; i < a.rows; ++i) {
      EXPECT_EQ(y[i] > 0, c.read_positive[i] != 0) << "row " << i;
      EXPECT_GE(y[i], 0);
    }
    for (const mpz_class& s : times(y, a)) EXPECT_EQ(s, 0);
  }
}

TEST(CoveringPresolve, JoinRatiosCompose) {
  // Column 0 joins rows 0 and 1 with y0 = 2 y1, into the row (0, 3, 3);
  // column 1 then joins it with row 2, three times its weight, and the row
  // is empty: one unknown, alone, read back as y = (2, 1, 3).
  crninv::SparseMatrix a = sparse_matrix(Dense{{1, 0, 1}, {-2, 3, 1}, {0, -1, -1}}, 3);
  crninv::Control control;
  crninv::Monitor monitor(control, crninv::Progress::kCovering);
  crninv::Presolved parts = crninv::presolve(a, std::vector<uint8_t>(a.rows, 1), monitor);
  ASSERT_EQ(parts.alone.size(), 1u);
  std::vector<mpz_class> z(a.rows, 0);
  z[parts.alone[0]] = 1;
  EXPECT_EQ(parts.cone.read_back(z), (std::vector<mpz_class>{2, 1, 3}));
}

TEST(CoveringPresolve, NoJoinPastTwoToThe53) {
  int64_t big = int64_t{1} << 52;
  // big y0 = 3 y1 would give y0 = 3 w, y1 = big w and a row of 3 * big in
  // column 1: past 2^53, so nothing is joined and both rows stay.
  crninv::SparseMatrix a = sparse_matrix(Dense{{big, big}, {-3, 1}, {0, -1}}, 2);
  crninv::Control control;
  crninv::Monitor monitor(control, crninv::Progress::kCovering);
  crninv::ConeRows cone(a, std::vector<uint8_t>(a.rows, 1), monitor);
  EXPECT_EQ(cone.join(0, 1, 3, big), crninv::ConeRows::kNone);
  EXPECT_TRUE(cone.live(0));
  EXPECT_TRUE(cone.live(1));
  EXPECT_EQ(cone.row(0).at(1), big);
  EXPECT_TRUE(cone.take_touched().empty());
}

}  // namespace
