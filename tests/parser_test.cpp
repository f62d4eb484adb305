// Reactions accepted and refused, species numbering, and what pass 2 hands
// to the network and the reaction names.
#include "reader/parser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "crninv/errors.h"
#include "crninv/network.h"
#include "reader/lexer.h"
#include "reader/names.h"
#include "tests/test_util.h"

namespace {

using namespace crninv;

// The tables and the network of one run, filled the way the driver fills
// them.
struct Reading {
  SpeciesTable species;
  ReactionNames names;
  Network network;
  uint32_t R = 0;
  uint32_t S = 0;

  void pass1(Lexer& L) {
    Parser P(L, species, names);
    R = P.parse_all();
    S = static_cast<uint32_t>(species.size());
  }

  // Every reaction starts with its default name; net changes must fit
  // 32 bits, as in the specified run.
  uint32_t pass2(Lexer& L) {
    names.clear();
    for (uint32_t j = 0; j < R; ++j) names.push_back("(reaction " + std::to_string(j + 1) + ")");
    NetworkBuilder builder(32);
    Parser P(L, species, names);
    P.attach(&builder);
    uint32_t again = P.parse_all();
    network = builder.finish(species_by_index(), names);
    return again;
  }

  std::vector<std::string> species_by_index() const {
    std::vector<std::string> byIndex(species.size());
    for (const auto& [name, index] : species) {
      if (index < byIndex.size()) byIndex[index] = name;
    }
    return byIndex;
  }

  // The augmented matrix [N | -I], dense.
  std::vector<std::vector<int32_t>> matrix() const {
    std::vector<std::vector<int32_t>> m(S, std::vector<int32_t>(R + S, 0));
    const SparseMatrix& n = network.stoichiometry();
    EXPECT_EQ(n.rows, S);
    EXPECT_EQ(n.columns, R);
    for (uint32_t k = 0; k < S; ++k) {
      n.for_each_in_row(k, [&](uint32_t j, int64_t v) { m[k][j] = static_cast<int32_t>(v); });
      m[k][R + k] = -1;
    }
    return m;
  }
};

// Both passes over one file, as the driver runs them.
void read_twice(const std::string& path, Reading& run) {
  Lexer L(path.c_str());
  ASSERT_TRUE(L.is_open());
  run.pass1(L);
  EXPECT_TRUE(run.names.empty()) << "labels are stored in pass 2 only";
  L.rewind();
  EXPECT_EQ(run.pass2(L), run.R);
  EXPECT_EQ(run.species.size(), run.S) << "pass 2 entered a species";
  EXPECT_EQ(L.token(), TOKEN_EOF);
}

struct AcceptCase {
  const char* name;
  std::string input;
  std::vector<std::string> species;           // in index order
  std::vector<std::vector<int32_t>> columns;  // reaction part of each species' row
  std::vector<std::string> names;             // one per reaction
};

void PrintTo(const AcceptCase& c, std::ostream* os) {
  *os << c.name;
}

const std::string kLong64 = std::string(64, 'x');
const std::string kLabel200 = std::string(200, 'L');

const AcceptCase kAcceptCases[] = {
    {"Empty", "", {}, {}, {}},
    {"OnlyCommentsAndBlanks", "# nothing\n\n \t # here\n", {}, {}, {}},
    {"Simple", "A -> B;\n", {"A", "B"}, {{-1}, {1}}, {"(reaction 1)"}},
    {"Water", "2 H2 + O2 -> 2 H2O;", {"H2", "O2", "H2O"}, {{-2}, {-1}, {2}}, {"(reaction 1)"}},
    {"Labelled", "fwd: A + B -> 2 X;", {"A", "B", "X"}, {{-1}, {-1}, {2}}, {"fwd"}},
    {"PlusDirectlyBeforeArrow", "A + -> B;", {"A", "B"}, {{-1}, {1}}, {"(reaction 1)"}},
    {"EmptyLeftSide", "-> A;", {"A"}, {{1}}, {"(reaction 1)"}},
    {"EmptyRightSide", "A -> ;", {"A"}, {{-1}}, {"(reaction 1)"}},
    {"NoSpecies", "-> ;\n-> ;\n", {}, {}, {"(reaction 1)", "(reaction 2)"}},
    {"LabelAndNoSpecies", "r: -> ;\n-> A;\n", {"A"}, {{0, 1}}, {"r", "(reaction 2)"}},
    {"CoefficientZero", "0 A -> B;", {"A", "B"}, {{0}, {1}}, {"(reaction 1)"}},
    {"RepeatedOnOneSide", "A + A -> B + 2 B + B;", {"A", "B"}, {{-2}, {4}}, {"(reaction 1)"}},
    {"RepeatedAcrossSides",
     "A -> A;\n2 B -> 3 B;",
     {"A", "B"},
     {{0, 0}, {0, 1}},
     {"(reaction 1)", "(reaction 2)"}},
    {"OrderOfFirstAppearance",
     "B -> A;\nD -> B;\n",
     {"B", "A", "D"},
     {{-1, 1}, {1, 0}, {0, -1}},
     {"(reaction 1)", "(reaction 2)"}},
    {"LeftBeforeRight",
     "X + 2 Y -> Z + X;\n-> W + Y;",
     {"X", "Y", "Z", "W"},
     {{0, 0}, {-2, 1}, {1, 0}, {0, 1}},
     {"(reaction 1)", "(reaction 2)"}},
    {"CaseSensitive", "a -> A;", {"a", "A"}, {{-1}, {1}}, {"(reaction 1)"}},
    {"SameLabelTwice",
     "r: A -> B;\nr: B -> A;\nA -> ;\n",
     {"A", "B"},
     {{-1, 1, -1}, {1, -1, 0}},
     {"r", "r", "(reaction 3)"}},
    {"LabelEqualsSpecies", "A: A -> B;", {"A", "B"}, {{-1}, {1}}, {"A"}},
    {"SecondReactionOnLineIgnored",
     "A -> B; B -> A;\nC -> ;",
     {"A", "B", "C"},
     {{-1, 0}, {1, 0}, {0, -1}},
     {"(reaction 1)", "(reaction 2)"}},
    {"ReactionOverSeveralLines",
     "fwd\n:\n2\nA\n+ B # c\n->\nC\n;\n",
     {"A", "B", "C"},
     {{-2}, {-1}, {1}},
     {"fwd"}},
    {"NoBlanks", "r:2A+B->C+3D;", {"A", "B", "C", "D"}, {{-2}, {-1}, {1}, {3}}, {"r"}},
    {"LargestCoefficient",
     "2147483647 A -> 2147483647 B;",
     {"A", "B"},
     {{-2147483647}, {2147483647}},
     {"(reaction 1)"}},
    {"SumReachesInt32Min",
     "2147483647 A + 1 A -> B;",
     {"A", "B"},
     {{INT32_MIN}, {1}},
     {"(reaction 1)"}},
    {"LongNumeralWithLeadingZeros",
     std::string(69, '0') + "5 A -> B;",
     {"A", "B"},
     {{-5}, {1}},
     {"(reaction 1)"}},
    {"NamesDifferAfter64Chars",
     kLong64 + "1 -> " + kLong64 + "2;",
     {kLong64 + "1", kLong64 + "2"},
     {{-1}, {1}},
     {"(reaction 1)"}},
    {"LongLabelKeptWhole", kLabel200 + ": -> A;", {"A"}, {{1}}, {kLabel200}},
};

class AcceptTest : public testing::TestWithParam<AcceptCase> {};

TEST_P(AcceptTest, BothPasses) {
  const AcceptCase& c = GetParam();
  Reading run;
  read_twice(write_temp_file(c.input), run);
  EXPECT_EQ(run.R, c.names.size());
  EXPECT_EQ(run.species_by_index(), c.species);
  std::vector<std::vector<int32_t>> expected;
  for (size_t k = 0; k < c.columns.size(); ++k) {
    std::vector<int32_t> row = c.columns[k];
    row.resize(row.size() + c.species.size(), 0);
    row[c.columns[k].size() + k] = -1;
    expected.push_back(row);
  }
  EXPECT_EQ(run.matrix(), expected);
  EXPECT_EQ(run.names, c.names);
}

INSTANTIATE_TEST_SUITE_P(Parser, AcceptTest, testing::ValuesIn(kAcceptCases),
                         [](const testing::TestParamInfo<AcceptCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(ParserTest, MinusBeforeCoefficientIsSkippedByLexer) {
  std::string path = write_temp_file("\n-2 A -> B;\n");
  std::string skipped;
  auto tell = [&](uint32_t line, char c) { skipped += std::to_string(line) + c; };
  Lexer L(path.c_str(), tell);
  Reading run;
  run.pass1(L);
  L.rewind();
  EXPECT_EQ(run.pass2(L), 1u);
  EXPECT_EQ(skipped, "2-2-");  // once in each pass
  EXPECT_EQ(run.matrix(), (std::vector<std::vector<int32_t>>{{-2, -1, 0}, {1, 0, -1}}));
}

struct ErrorCase {
  const char* name;
  std::string input;
  unsigned line;
  std::string text;
  const char* expected;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
  *os << c.name;
}

const char kIdentifier[] = "identifier";
const char kArrow[] = "->";
const char kPlusOrArrow[] = "+ or ->";
const char kPlusOrSemicolon[] = "+ or ;";
const char kTooBig[] = "integer at most 2147483647";

const ErrorCase kErrorCases[] = {
    // After the identifier that opens an unlabelled reaction.
    {"WordAfterFirstSpecies", "r A -> B;", 1, "A", kArrow},
    {"EndAfterFirstSpecies", "A", 1, "", kArrow},
    {"SemicolonAfterFirstSpecies", "A ;\nB -> C;\n", 2, ";", kArrow},
    {"ErrorOnLaterLine", "A -> B;\n\nC D -> E;\n", 3, "D", kArrow},
    // Where a term needs its species name.
    {"PlusAfterSecondTermBeforeArrow", "A + B + -> X;", 1, "->", kIdentifier},
    {"PlusAfterCoefficientTermBeforeArrow", "2 A + -> B;", 1, "->", kIdentifier},
    {"PlusAfterLabelledTermBeforeArrow", "r: A + -> B;", 1, "->", kIdentifier},
    {"LabelThenSemicolon", "r: ;\n", 2, ";", kIdentifier},
    {"LabelThenSemicolonNoLineFeed", "r: ;", 1, ";", kIdentifier},
    {"LeadingPlus", "+ A -> B;", 1, "+", kIdentifier},
    {"LeadingColon", ": A -> B;", 1, ":", kIdentifier},
    {"TwoCoefficients", "2 3 A -> B;", 1, "3", kIdentifier},
    {"LabelAtEnd", "r:", 1, "", kIdentifier},
    {"PlusAtEnd", "A +", 1, "", kIdentifier},
    {"CoefficientWithoutNameOnRight", "A -> 2;\n", 2, ";", kIdentifier},
    {"PlusThenSemicolonOnRight", "A -> B +;\nC -> D;\n", 2, ";", kIdentifier},
    {"ArrowAfterArrow", "-> -> A;", 1, "->", kIdentifier},
    // After a term of the left side.
    {"SecondLabel", "r: q: A -> B;", 1, ":", kPlusOrArrow},
    {"TwoWordsOnLeft", "A + B C -> D;", 1, "C", kPlusOrArrow},
    {"EndAfterLabelledTerm", "r: A", 1, "", kPlusOrArrow},
    {"SemicolonOnLeft", "2 A;\n\n", 2, ";", kPlusOrArrow},
    // After a term of the right side.
    {"ColonOnRight", "A -> B : D;", 1, ":", kPlusOrSemicolon},
    {"SecondArrow", "A -> B -> C;", 1, "->", kPlusOrSemicolon},
    {"EndAfterRightTerm", "A -> B", 1, "", kPlusOrSemicolon},
    {"EndAfterRightTermLineFeed", "A -> B\n", 2, "", kPlusOrSemicolon},
    {"EndAfterRightTermComment", "A -> B\n# c\n", 3, "", kPlusOrSemicolon},
    // A numeral too big to be a coefficient.
    {"CoefficientTooBigLeft", "2147483648 A -> B;", 1, "2147483648", kTooBig},
    {"CoefficientTooBigRight", "A ->\n B + 99999999999999999999 C;", 2, "99999999999999999999",
     kTooBig},
    {"CoefficientTooBigLong", "-> 1" + std::string(69, '0') + " A;", 1, "1" + std::string(69, '0'),
     kTooBig},
};

class ParseErrorTest : public testing::TestWithParam<ErrorCase> {};

// Pass 1 stops at the error, saying where and what it expected.
TEST_P(ParseErrorTest, WhereAndWhat) {
  const ErrorCase& c = GetParam();
  std::string path = write_temp_file(c.input);
  Lexer L(path.c_str());
  Reading run;
  try {
    run.pass1(L);
    ADD_FAILURE() << "accepted";
  } catch (const SyntaxError& e) {
    EXPECT_EQ(e.path, path);
    EXPECT_EQ(e.line, c.line);
    EXPECT_EQ(e.text, c.text);
    EXPECT_EQ(e.expected, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Parser, ParseErrorTest, testing::ValuesIn(kErrorCases),
                         [](const testing::TestParamInfo<ErrorCase>& info) {
                           return std::string(info.param.name);
                         });

// Coefficients of one species in one reaction that add up past int32 end
// the run in pass 2; pass 1 sums nothing and says nothing.
TEST(ParserTest, SumOutsideInt32EndsPass2) {
  const char* inputs[] = {
      "A -> 2147483647 B + 1 B;",
      "2147483647 A + 2 A -> B;",
      "C -> D;\nA -> 2147483647 A + 2 A;",
  };
  for (const char* input : inputs) {
    std::string path = write_temp_file(input);
    Reading run;
    EXPECT_THROW(
        {
          try {
            read_twice(path, run);
          } catch (const Overflow& e) {
            EXPECT_STREQ(e.what(), kAdditionOverflow);
            throw;
          }
        },
        Overflow)
        << input;
  }
}

// Pass 2 reads another file over the tables of the first one.
TEST(ParserTest, SecondPassOverChangedFile) {
  struct {
    const char* first;
    const char* second;
  } cases[] = {
      {"A -> B;\n", "A -> C;\n"},           // a species pass 1 never saw
      {"A -> B;\n", "A -> B;\nB -> A;\n"},  // more reactions than pass 1 counted
      {"A -> B;\n", "r: -> ;\n-> ;\n"},     // the same, without species
  };
  for (const auto& c : cases) {
    std::string first = write_temp_file(c.first);
    std::string second = write_temp_file(c.second);
    Reading run;
    Lexer L1(first.c_str());
    run.pass1(L1);
    Lexer L2(second.c_str());
    try {
      run.pass2(L2);
      ADD_FAILURE() << c.second;
    } catch (const ReadError& e) {
      EXPECT_EQ(e.kind, ReadError::kChanged);
      EXPECT_EQ(e.path, second);
    }
  }
}

TEST(ParserTest, SecondPassOverOtherFileWithKnownSpecies) {
  Reading run;
  std::string first = write_temp_file("A -> B;\n");
  Lexer L1(first.c_str());
  run.pass1(L1);
  std::string second = write_temp_file("x: B -> A;\n");
  Lexer L2(second.c_str());
  EXPECT_EQ(run.pass2(L2), 1u);
  EXPECT_EQ(run.matrix(), (std::vector<std::vector<int32_t>>{{1, -1, 0}, {-1, 0, -1}}));
  EXPECT_EQ(run.names, ReactionNames{"x"});
}

}  // namespace
