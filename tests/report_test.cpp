// Row classes and the printed form of rows and coefficients.
#include "algebra/report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "algebra/report_json.h"
#include "algebra/row.h"
#include "algebra/wide_row.h"

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
  const Names species = {"A", "B"};
  std::vector<std::string> texts;
  for (uint32_t j = 0; j < 2; ++j) texts.push_back("(reaction " + std::to_string(j + 1) + ")");
  for (const Case& c : cases) {
    Names reactions(texts.begin(), texts.begin() + c.R);
    Row row;
    row.resize(static_cast<uint32_t>(c.row.size()));
    for (uint32_t j = 0; j < c.row.size(); ++j) row.add(j, c.row[j]);
    EXPECT_EQ(classify(row, c.R, 2), c.row_class) << c.text;
    EXPECT_EQ(captured([&] { print_row(row, reactions, species); }), c.text);
    // Rows of every width read and print alike.
    WideRow<int64_t> row64;
    WideRow<mpz_class> big;
    row64.resize(row.length());
    big.resize(row.length());
    row.for_each_nonzero([&](uint32_t j, int32_t value) {
      row64.append(j, value);
      big.append(j, mpz_class(value));
    });
    EXPECT_EQ(classify(row64, c.R, 2), c.row_class) << c.text;
    EXPECT_EQ(classify(big, c.R, 2), c.row_class) << c.text;
    EXPECT_EQ(captured([&] { print_row(row64, reactions, species); }), c.text);
    EXPECT_EQ(captured([&] { print_row(big, reactions, species); }), c.text);
  }
}

TEST(Report, WideCoefficients) {
  const Names reactions = {"r"}, species = {"A", "B"};
  WideRow<Int128> row128;
  row128.resize(3);
  row128.append(0, -(Int128{1} << 100));
  row128.append(2, (Int128{1} << 126) - 1 + (Int128{1} << 126));
  EXPECT_EQ(captured([&] { print_row(row128, reactions, species); }),
            "-1267650600228229401496703205376 r +170141183460469231731687303715884105727 B \n");
  WideRow<mpz_class> big;
  big.resize(3);
  big.append(1, mpz_class("-123456789012345678901234567890123456789012345678901"));
  EXPECT_EQ(captured([&] { print_row(big, reactions, species); }),
            "-123456789012345678901234567890123456789012345678901 A \n");
}

TEST(Report, Json) {
  const Names reactions = {"r1", "(reaction 2)"}, species = {"A", "B\"q\""};
  Row inequality, flow;
  inequality.resize(4);
  inequality.add(0, 1);
  inequality.add(3, -1);
  flow.resize(4);
  flow.add(2, 1);
  flow.add(3, 2);
  std::string text = captured([&] {
    JsonReport json(reactions, "reactions", species, "species");
    json.begin("species");
    json.begin_section("flows");
    json.row(flow);
    json.end_section();
    json.begin_section("inequalities");
    json.row(inequality);
    json.end_section();
    json.begin_section("irreducible");
    json.end_section();
    json.end();
  });
  EXPECT_EQ(text,
            "{\"invariants_of\": \"species\",\n"
            " \"species\": [{\"index\": 0, \"name\": \"A\"}, "
            "{\"index\": 1, \"name\": \"B\\\"q\\\"\"}],\n"
            " \"reactions\": [{\"index\": 0, \"name\": \"r1\"}, "
            "{\"index\": 1, \"name\": \"(reaction 2)\"}],\n"
            " \"flows\": [\n"
            "  {\"reactions\": [], \"species\": [{\"index\": 0, \"name\": \"A\", "
            "\"coefficient\": 1}, {\"index\": 1, \"name\": \"B\\\"q\\\"\", \"coefficient\": 2}]}\n"
            " ],\n"
            " \"inequalities\": [\n"
            "  {\"reactions\": [{\"index\": 0, \"name\": \"r1\", \"coefficient\": 1}], "
            "\"species\": [{\"index\": 1, \"name\": \"B\\\"q\\\"\", \"coefficient\": -1}]}\n"
            " ],\n"
            " \"irreducible\": []}\n");
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
