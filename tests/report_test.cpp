// Row classes, the printed form of rows and coefficients, and the JSON
// document.
#include "crninv/report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/results.h"
#include "crninv/text_format.h"
#include "rows/row.h"
#include "rows/wide_row.h"

namespace {

using namespace crninv;

// A network of species A and B and two reactions, "r1" and unlabelled.
const Network& two_reactions() {
  static const Network network = parse_network("r1: A -> B;\nB -> A;\n");
  return network;
}

// The invariants of two_reactions made of the rows given, dense over
// (r1, reaction 2 | A, B), classified as the library classifies them.
template <typename RowType>
Invariants invariants_of(RowType* rows, uint32_t count) {
  Invariants result;
  result.effects = 2;
  result.combined = 2;
  take_rows(rows, count, &result);
  return result;
}

TEST(Report, ClassifyAndPrintRow) {
  struct Case {
    std::vector<int32_t> row;  // reactions, then species A and B
    RowClass row_class;
    std::string text;  // the line of its section
  };
  const std::vector<Case> cases = {
      {{1, 0, 0, -1}, RowClass::kInequality, "\t+1 r1 -1 B \n"},
      {{-3, 0, 1, 0}, RowClass::kInequality, "\t-3 r1 +1 A \n"},
      {{-1, -4, 0, 3}, RowClass::kInequality, "\t-1 r1 -4 (reaction 2) +3 B \n"},
      {{1, -1, 0, -1}, RowClass::kIrreducible, "\t+1 r1 -1 (reaction 2) -1 B \n"},
      {{0, 0, 1, 2}, RowClass::kFlow, "\t+1 A +2 B \n"},
      {{0, 0, 1, -1}, RowClass::kFlow, "\t+1 A -1 B \n"},
      {{0, 0, 0, 0}, RowClass::kZero, ""},
      {{-2147483647, 0, 2147483647, 0}, RowClass::kInequality, "\t-2147483647 r1 +2147483647 A \n"},
  };
  const char* headings[] = {"Flows (== constant):\n",
                            "\nInequalities (remove reactions, <= constant):\n",
                            "\nIrreducible:\n"};
  for (const Case& c : cases) {
    Row row;
    WideRow<int64_t> row64;
    WideRow<mpz_class> big;
    row.resize(4);
    row64.resize(4);
    big.resize(4);
    for (uint32_t j = 0; j < 4; ++j) {
      if (c.row[j] == 0) continue;
      row.add(j, c.row[j]);
      row64.append(j, c.row[j]);
      big.append(j, mpz_class(c.row[j]));
    }
    std::string expected = std::string(headings[0]) +
                           (c.row_class == RowClass::kFlow ? c.text : "") + headings[1] +
                           (c.row_class == RowClass::kInequality ? c.text : "") + headings[2] +
                           (c.row_class == RowClass::kIrreducible ? c.text : "");
    // Rows of every width classify and print alike.
    for (const Invariants& result :
         {invariants_of(&row, 1), invariants_of(&row64, 1), invariants_of(&big, 1)}) {
      EXPECT_EQ(result.classes[0], c.row_class) << c.text;
      EXPECT_EQ(report_text(two_reactions(), result, write_report), expected);
    }
  }
}

TEST(Report, CoefficientsOfEveryWidth) {
  WideRow<Int128> row128;
  row128.resize(4);
  row128.append(0, -(Int128{1} << 100));
  row128.append(3, (Int128{1} << 126) - 1 + (Int128{1} << 126));
  WideRow<mpz_class> big;
  big.resize(4);
  big.append(2, mpz_class("-123456789012345678901234567890123456789012345678901"));
  big.append(3, 1);
  Row small;
  small.resize(4);
  small.add(0, INT32_MIN);
  small.add(2, 10);
  EXPECT_EQ(report_text(two_reactions(), invariants_of(&row128, 1), write_report),
            "Flows (== constant):\n\nInequalities (remove reactions, <= constant):\n"
            "\t-1267650600228229401496703205376 r1 +170141183460469231731687303715884105727 B "
            "\n\nIrreducible:\n");
  EXPECT_EQ(report_text(two_reactions(), invariants_of(&big, 1), write_report),
            "Flows (== constant):\n\t-123456789012345678901234567890123456789012345678901 A +1 B "
            "\n\nInequalities (remove reactions, <= constant):\n\nIrreducible:\n");
  EXPECT_EQ(report_text(two_reactions(), invariants_of(&small, 1), write_report),
            "Flows (== constant):\n\nInequalities (remove reactions, <= constant):\n"
            "\t-2147483648 r1 +10 A \n\nIrreducible:\n");
}

TEST(Report, Json) {
  Network network = parse_network("r1: A -> B;\nB -> A;\n");
  Row rows[2];
  rows[0].resize(4);
  rows[0].add(2, 1);
  rows[0].add(3, 2);
  rows[1].resize(4);
  rows[1].add(0, 1);
  rows[1].add(3, -1);
  Invariants result = invariants_of(rows, 2);
  EXPECT_EQ(report_text(network, result, write_json),
            "{\"invariants_of\": \"species\",\n"
            " \"species\": [{\"index\": 0, \"name\": \"A\"}, "
            "{\"index\": 1, \"name\": \"B\"}],\n"
            " \"reactions\": [{\"index\": 0, \"name\": \"r1\"}, "
            "{\"index\": 1, \"name\": \"(reaction 2)\"}],\n"
            " \"flows\": [\n"
            "  {\"reactions\": [], \"species\": [{\"index\": 0, \"name\": \"A\", "
            "\"coefficient\": 1}, {\"index\": 1, \"name\": \"B\", \"coefficient\": 2}]}\n"
            " ],\n"
            " \"inequalities\": [\n"
            "  {\"reactions\": [{\"index\": 0, \"name\": \"r1\", \"coefficient\": 1}], "
            "\"species\": [{\"index\": 1, \"name\": \"B\", \"coefficient\": -1}]}\n"
            " ],\n"
            " \"irreducible\": []}\n");
}

// Names are JSON strings, escaped: the format's identifiers cannot hold a
// quote, but a network given as a matrix may name its species anything.
TEST(Report, JsonEscapesNames) {
  SparseMatrix n;
  n.columns = 1;
  n.column = {0};
  n.value = {1};
  n.end_row();
  Network network(n, {"B\"q\"\\\n"}, {"r"});
  Semiflows none;
  EXPECT_EQ(report_text(network, none, write_semiflows_json),
            "{\"invariants_of\": \"species\",\n"
            " \"species\": [{\"index\": 0, \"name\": \"B\\\"q\\\"\\\\\\u000a\"}],\n"
            " \"reactions\": [{\"index\": 0, \"name\": \"r\"}],\n"
            " \"semiflows\": []}\n");
}

}  // namespace
