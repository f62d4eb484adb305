// The exact rank against dense elimination over the rationals: random
// sparse matrices, some with entries so large, or dependencies with such
// large multipliers, that 64 bits cannot hold the elimination and it must
// finish on GMP integers; subsets of rows on one workspace; and the
// control of the work, its progress, cancellation and memory budget.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "base/monitor.h"
#include "crninv/errors.h"
#include "crninv/structure.h"
#include "crninv/text_format.h"
#include "structure/exact_rank.h"
#include "tests/structure_reference.h"

namespace {

using Dense = std::vector<std::vector<int64_t>>;

crninv::SparseMatrix sparse(const Dense& rows, uint32_t columns) {
  crninv::SparseMatrix a;
  a.columns = columns;
  for (const auto& row : rows) {
    for (uint32_t c = 0; c < columns; ++c) {
      if (row[c] != 0) {
        a.column.push_back(c);
        a.value.push_back(row[c]);
      }
    }
    a.end_row();
  }
  return a;
}

// Sparse rows, and now and then rows that combine two others with large
// multipliers, or entries near 2^61.
Dense random_rows(std::mt19937_64& random, uint32_t rows, uint32_t columns, bool large) {
  Dense m, drawn;  // drawn: the rows not combined, which the combinations take
  for (uint32_t i = 0; i < rows; ++i) {
    std::vector<int64_t> row(columns, 0);
    if (drawn.size() >= 2 && random() % 3 == 0) {
      int64_t f = large ? static_cast<int64_t>(random() % (1 << 20)) + 1 : 1 + random() % 3;
      int64_t g = large ? -static_cast<int64_t>(random() % (1 << 20)) : -1;
      const auto& a = drawn[random() % drawn.size()];
      const auto& b = drawn[random() % drawn.size()];
      for (uint32_t c = 0; c < columns; ++c) row[c] = f * a[c] + g * b[c];
    } else {
      for (uint32_t c = 0; c < columns; ++c) {
        if (random() % 3 != 0) continue;
        int64_t magnitude = large ? int64_t{1} << 40 : 4;
        row[c] = static_cast<int64_t>(random() % magnitude) - magnitude / 2;
      }
      drawn.push_back(row);
    }
    m.push_back(row);
  }
  return m;
}

TEST(ExactRank, MatchesRationalEliminationOnRandomMatrices) {
  std::mt19937_64 random(7);
  crninv::Control control;
  crninv::Monitor monitor(control, crninv::Progress::kReduction);
  for (int round = 0; round < 400; ++round) {
    uint32_t rows = 1 + random() % 12, columns = 1 + random() % 10;
    Dense m = random_rows(random, rows, columns, round % 2 == 1);
    crninv::SparseMatrix a = sparse(m, columns);
    crninv::RankWorkspace workspace(a, UINT64_MAX);
    std::vector<uint32_t> all, some;
    Dense chosen;
    for (uint32_t i = 0; i < rows; ++i) {
      all.push_back(i);
      if (random() % 2 == 0) {
        some.push_back(i);
        chosen.push_back(m[i]);
      }
    }
    ASSERT_EQ(workspace.rank(all, monitor), rational_rank(m)) << "round " << round;
    ASSERT_EQ(workspace.rank(some, monitor), rational_rank(chosen)) << "round " << round;
  }
}

// Every reaction's row is counted once for N and once for its linkage
// class; the last call shows them all.
TEST(StructureControl, ProgressCountsEachRowTwiceAndCancelStops) {
  crninv::Network network = crninv::parse_network("A + B -> C;\nC -> A + B;\n2 C -> D;\n-> A;\n");
  std::vector<crninv::Progress> seen;
  crninv::Control control;
  control.progress = [&](const crninv::Progress& p) {
    seen.push_back(p);
    return true;
  };
  crninv::Structure s = crninv::structure(network, control);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().stage, crninv::Progress::kReduction);
  EXPECT_EQ(seen.back().steps, 8u);
  EXPECT_EQ(seen.back().step, 8u);
  // The pivots: s for N, then the rank of each linkage class.
  uint32_t pivots = s.rank;
  for (const crninv::LinkageClass& l : s.linkage_classes) pivots += l.rank;
  EXPECT_EQ(seen.back().found, pivots);

  control.progress = [](const crninv::Progress&) { return false; };
  EXPECT_THROW(crninv::structure(network, control), crninv::Cancelled);
}

TEST(StructureControl, MemoryBudgetStopsTheRank) {
  crninv::Network network = crninv::parse_network("A + B -> C;\nC -> D + E;\nD -> A;\n");
  crninv::Control control;
  control.memory_budget = 16;
  EXPECT_THROW(crninv::structure(network, control), crninv::OutOfMemory);
  control.memory_budget = 1 << 20;
  EXPECT_EQ(crninv::structure(network, control).rank, 3u);
}

}  // namespace
