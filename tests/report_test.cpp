// Row classes and the printed form of rows and coefficients.
#include "algebra/report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string captured(const std::function<void()>& print) {
  testing::internal::CaptureStdout();
  print();
  fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

TEST(Report, ClassifyAndPrintRow) {
  struct Case {
    uint32_t R;
    std::vector<int32_t> row;  // reaction part, then species A and B
    int32_t row_class;
    std::string text;
  };
  const std::vector<Case> cases = {
      {1, {1, 0, -1}, ROW_INEQUALITY, "+1 (reaction 1) -1 B \n"},
      {1, {-3, 1, 0}, ROW_INEQUALITY, "-3 (reaction 1) +1 A \n"},
      {2, {-1, -4, 0, 3}, ROW_INEQUALITY, "-1 (reaction 1) -4 (reaction 2) +3 B \n"},
      {2, {2, 0, 0, 0}, ROW_INEQUALITY, "+2 (reaction 1) \n"},
      {2, {1, -1, 0, -1}, ROW_IRREDUCIBLE, "+1 (reaction 1) -1 (reaction 2) -1 B \n"},
      {2, {1, -1, 0, 0}, ROW_IRREDUCIBLE, "+1 (reaction 1) -1 (reaction 2) \n"},
      {1, {0, 1, 2}, ROW_FLOW, "+1 A +2 B \n"},
      {1, {0, 1, -1}, ROW_FLOW, "+1 A -1 B \n"},
      {1, {0, 0, 0}, ROW_ZERO, "\n"},
      {1,
       {-2147483647, 2147483647, 0},
       ROW_INEQUALITY,
       "-2147483647 (reaction 1) +2147483647 A \n"},
      // Missing columns read as 0; columns past R + S are not part of the row.
      {2, {1}, ROW_INEQUALITY, "+1 (reaction 1) \n"},
      {1, {}, ROW_ZERO, "\n"},
      {1, {0, 0, 0, 5}, ROW_ZERO, "\n"},
  };
  const std::string a = "A", b = "B";
  const SpeciesNames index2species = {&a, &b};
  for (const Case& c : cases) {
    Row row;
    row.resize(static_cast<uint32_t>(c.row.size()));
    for (uint32_t j = 0; j < c.row.size(); ++j) row.add(j, c.row[j]);
    ReactionNames Reactions;
    for (uint32_t j = 0; j < c.R; ++j)
      Reactions.push_back("(reaction " + std::to_string(j + 1) + ")");
    EXPECT_EQ(classify(row, c.R, 2), c.row_class) << c.text;
    EXPECT_EQ(captured([&] { print_row(row, index2species, Reactions); }), c.text);
  }
}

TEST(Report, PrintCoefficient) {
  const std::vector<std::pair<int32_t, std::string>> cases = {
      {0, "+0 "},
      {10, "+10 "},
      {-1, "-1 "},
      {2147483647, "+2147483647 "},
      {-2147483647, "-2147483647 "},
      {INT32_MIN, "-2147483648 "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(captured([&] { print_coefficient(c.first); }), c.second);
  }
}

}  // namespace
