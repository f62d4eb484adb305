// The proof that a reduction cannot overflow: matrices that it must accept
// and matrices that are not totally unimodular, which it must refuse.
#include "reduce/unimodular.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/test_util.h"

namespace {

using Matrix = std::vector<std::vector<int32_t>>;

bool proven(const Matrix& N) {
  uint32_t R = N.empty() ? 0 : static_cast<uint32_t>(N[0].size());
  return crninv::provably_unimodular(sparse_matrix(N, R));
}

TEST(Unimodular, Proven) {
  const std::vector<std::pair<std::string, Matrix>> cases = {
      {"no reactions", {{}, {}}},
      // Transitions with one input and one output place: a directed graph.
      {"cycle A -> B -> C -> A", {{-1, 0, 1}, {1, -1, 0}, {0, 1, -1}}},
      // One reaction making every species: each row holds one entry.
      {"one reaction, many products", {{1}, {1}, {1}, {1}}},
      // Places with one input and one output transition: the transpose.
      {"marked graph", {{1, -1, 0, 0}, {0, 1, -1, 0}, {0, 0, 1, -1}, {-1, 0, 0, 1}}},
      // Two entries of one sign in a column, rows coloured apart: the
      // incidence matrix of a cycle of even length.
      {"even cycle", {{1, 0, 0, 1}, {1, 1, 0, 0}, {0, 1, 1, 0}, {0, 0, 1, 1}}},
      // A repeated column and a column of one entry are set aside first.
      {"repeats", {{1, 1, 1, 0}, {-1, -1, 0, 1}, {0, 0, 1, 1}}},
  };
  for (const auto& [name, N] : cases) EXPECT_TRUE(proven(N)) << name;
}

TEST(Unimodular, Refused) {
  const std::vector<std::pair<std::string, Matrix>> cases = {
      // det [[1, 1], [1, -1]] = -2.
      {"determinant 2", {{1, 1}, {1, -1}}},
      // The same for a cycle of odd length: determinant 2, and no
      // two-colouring.
      {"odd cycle", {{1, 0, 1}, {1, 1, 0}, {0, 1, 1}}},
      // Entries of magnitude 2.
      {"weight 2", {{-2, 1}, {1, -1}}},
      // Three entries in every row and column that is left.
      {"dense", {{1, 1, 0, 1}, {0, 1, 1, 1}, {1, 0, 1, 1}, {1, 1, 1, 0}}},
  };
  for (const auto& [name, N] : cases) EXPECT_FALSE(proven(N)) << name;
}

}  // namespace
