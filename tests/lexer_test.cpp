// Tokens, line counting, skipped text, unexpected bytes and chunk borders.
#include "reader/lexer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/test_util.h"

namespace {

using namespace crninv;

constexpr size_t kChunk = 16384;

struct Tok {
  int32_t code;
  std::string text;
  int32_t value;
  uint32_t line;
  bool overflow;
  bool operator==(const Tok& o) const {
    return code == o.code && text == o.text && value == o.value && line == o.line &&
           overflow == o.overflow;
  }
};

void PrintTo(const Tok& t, std::ostream* os) {
  *os << "{" << t.code << " \"" << (t.text.size() > 80 ? t.text.substr(0, 80) + "..." : t.text)
      << "\" (" << t.text.size() << " chars) value " << t.value << " line " << t.line
      << (t.overflow ? " overflow" : "") << "}";
}

Tok id(const std::string& text, uint32_t line = 1) {
  return {TOKEN_IDENTIFIER, text, 0, line, false};
}
Tok num(const std::string& text, int32_t value, uint32_t line = 1, bool overflow = false) {
  return {TOKEN_INTEGER, text, value, line, overflow};
}
Tok punct(char c, uint32_t line = 1) {
  return {c, std::string(1, c), 0, line, false};
}
Tok arrow(uint32_t line = 1) {
  return {TOKEN_ARROW, "->", 0, line, false};
}
Tok eof(uint32_t line = 1) {
  return {TOKEN_EOF, "", 0, line, false};
}

// The token as the parser reads it, through word(); text() must agree.
Tok current(const Lexer& L) {
  std::string word(L.word());
  EXPECT_EQ(word, L.text());
  return {L.token(), word, L.int_value(), L.line(), L.int_overflow()};
}

// The current token and all that follow it, up to and including EOF.
std::vector<Tok> drain(Lexer& L) {
  std::vector<Tok> tokens{current(L)};
  while (tokens.back().code != TOKEN_EOF && tokens.size() < 100000) {
    L.next_token();
    tokens.push_back(current(L));
  }
  return tokens;
}

std::string unexpected(const std::string& path, uint32_t line, char c) {
  return "ERROR (lexer) file " + path + " line " + std::to_string(line) +
         ":\n\tIgnoring unexpected character '" + std::string(1, c) + "'\n";
}

// A handler that writes each skipped character into *messages, as the
// program writes them.
UnexpectedCharacter report_into(std::string* messages, const std::string& path) {
  return [messages, path](uint32_t line, char c) { *messages += unexpected(path, line, c); };
}

// Scans a whole file, returning its tokens and the messages of what it
// skipped.
std::pair<std::vector<Tok>, std::string> scan(const std::string& path) {
  std::string messages;
  Lexer L(path.c_str(), report_into(&messages, path));
  std::vector<Tok> tokens = drain(L);
  return {tokens, messages};
}

struct ScanCase {
  const char* name;
  std::string input;
  std::vector<Tok> tokens;
  std::vector<std::pair<uint32_t, char>> reported;  // line and byte of each message pair
};

void PrintTo(const ScanCase& c, std::ostream* os) {
  *os << c.name;
}

std::string nul(const char* before, const char* after) {
  return std::string(before) + '\0' + after;
}

const ScanCase kScanCases[] = {
    {"Empty", "", {eof()}, {}},
    {"BlanksAndComments", " \t\r\n# one\n\n  # two\n", {eof(5)}, {}},
    {"AllKinds",
     "r1: 2A + x[1] -> C_2; ignored text\n# a comment\n",
     {id("r1"), punct(':'), num("2", 2), id("A"), punct('+'), id("x[1]"), arrow(), id("C_2"),
      punct(';', 2), eof(3)},
     {}},
    {"AllKindsNoFinalLineFeed",
     "r1: 2A + x[1] -> C_2; ignored text\n# a comment",
     {id("r1"), punct(':'), num("2", 2), id("A"), punct('+'), id("x[1]"), arrow(), id("C_2"),
      punct(';', 2), eof(2)},
     {}},
    {"LineFeeds",
     "A -> B;\nC\n+ D\n",
     {id("A"), arrow(), id("B"), punct(';', 2), id("C", 2), punct('+', 3), id("D", 3), eof(4)},
     {}},
    {"CarriageReturnLineFeeds",
     "A -> B;\r\nC\r\n+ D\r\n",
     {id("A"), arrow(), id("B"), punct(';', 2), id("C", 2), punct('+', 3), id("D", 3), eof(4)},
     {}},
    {"SemicolonAtEndOfInput", "A;", {id("A"), punct(';'), eof()}, {}},
    {"SemicolonHidesSecondReaction",
     "A -> B; D -> E;\nF",
     {id("A"), arrow(), id("B"), punct(';', 2), id("F", 2), eof(2)},
     {}},
    {"SemicolonHidesStrayBytes",
     "A -> B; $$$ - [ \f \x80\nC;\n",
     {id("A"), arrow(), id("B"), punct(';', 2), id("C", 2), punct(';', 3), eof(3)},
     {}},
    {"PlusColonSemicolon", "+:;+", {punct('+'), punct(':'), punct(';'), eof()}, {}},
    {"CommentOnLastLineWithoutLineFeed", "A\n# end", {id("A"), eof(2)}, {}},
    {"CommentAfterToken", "A# x -> B;\nB", {id("A"), id("B", 2), eof(2)}, {}},
    {"MinusBetweenWords", "A-B", {id("A"), id("B"), eof()}, {{1, '-'}}},
    {"MinusBeforeSpacedGreater", "- >", {eof()}, {{1, '-'}, {1, '>'}}},
    {"MinusAsLastByte", "A -", {id("A"), eof()}, {{1, '-'}}},
    {"MinusBeforeNumeral", "-2 A", {num("2", 2), id("A"), eof()}, {{1, '-'}}},
    {"BracketCannotStartWord", "[x]", {id("x]"), eof()}, {{1, '['}}},
    {"NumeralThenWord", "2A A2 _a9[]", {num("2", 2), id("A"), id("A2"), id("_a9[]"), eof()}, {}},
    {"NonAsciiBytes",
     "A\xc3\xa9"
     "B",
     {id("A"), id("B"), eof()},
     {{1, '\xc3'}, {1, '\xa9'}}},
    {"FormFeedAndVerticalTab",
     "A\fB\vC",
     {id("A"), id("B"), id("C"), eof()},
     {{1, '\f'}, {1, '\v'}}},
    {"UnexpectedOnLaterLine", "A\n$\nB $\n", {id("A"), id("B", 3), eof(4)}, {{2, '$'}, {3, '$'}}},
    {"NulBetweenTokens", nul("A", "B"), {id("A"), id("B"), eof()}, {{1, '\0'}}},
    {"NulInsideWord", nul("AB", "CD\n"), {id("AB"), id("CD"), eof(2)}, {{1, '\0'}}},
    {"NulAsLastByte", nul("A\n", ""), {id("A"), eof(2)}, {{2, '\0'}}},
    {"NulInComment", nul("# x", "y\nA"), {id("A", 2), eof(2)}, {}},
    {"NulAfterSemicolon", nul("A; ", "$\nB"), {id("A"), punct(';', 2), id("B", 2), eof(2)}, {}},
    {"Numerals",
     "007 2147483647 2147483648 5 99999999999",
     {num("007", 7), num("2147483647", 2147483647), num("2147483648", 2147483647, 1, true),
      num("5", 5), num("99999999999", 2147483647, 1, true), eof()},
     {}},
    {"SeventyCharIdentifier",
     std::string(64, 'a') + "bcdefg+",
     {id(std::string(64, 'a') + "bcdefg"), punct('+'), eof()},
     {}},
    {"SeventyZerosThenFive",
     std::string(69, '0') + "5 A",
     {num(std::string(69, '0') + "5", 5), id("A"), eof()},
     {}},
    {"SeventyDigitNumeral",
     "1" + std::string(69, '0') + "A",
     {num("1" + std::string(69, '0'), 2147483647, 1, true), id("A"), eof()},
     {}},
    // Chunk borders: the file is read 16384 bytes at a time.
    {"ArrowAcrossChunkBorder",
     "A" + std::string(kChunk - 2, ' ') + "->B",
     {id("A"), arrow(), id("B"), eof()},
     {}},
    {"IdentifierAcrossChunkBorder",
     std::string(kChunk - 4, ' ') + "abcdefgh ",
     {id("abcdefgh"), eof()},
     {}},
    {"NumeralAcrossChunkBorder",
     std::string(kChunk - 2, ' ') + "12345",
     {num("12345", 12345), eof()},
     {}},
    {"MinusEndsChunkWithoutGreater",
     std::string(kChunk - 1, ' ') + "-x",
     {id("x"), eof()},
     {{1, '-'}}},
    {"ExactlyOneChunk", std::string(kChunk - 4, ' ') + "WXYZ", {id("WXYZ"), eof()}, {}},
    {"LinesAcrossChunkBorder",
     std::string(kChunk, '\n') + "X",
     {id("X", kChunk + 1), eof(kChunk + 1)},
     {}},
    {"CommentAcrossChunkBorder",
     "#" + std::string(kChunk + 10, 'c') + "\nA",
     {id("A", 2), eof(2)},
     {}},
    {"NulAsLastByteOfChunk",
     std::string(kChunk - 1, ' ') + '\0' + "X",
     {id("X"), eof()},
     {{1, '\0'}}},
    {"NulAsFirstByteOfChunk", std::string(kChunk, ' ') + '\0' + "X", {id("X"), eof()}, {{1, '\0'}}},
    {"NulEarlyInLongFile",
     std::string(100, 'x') + '\0' + std::string(19899, 'y'),
     {id(std::string(100, 'x')), id(std::string(19899, 'y')), eof()},
     {{1, '\0'}}},
};

class ScanTest : public testing::TestWithParam<ScanCase> {};

TEST_P(ScanTest, TokensAndMessages) {
  const ScanCase& c = GetParam();
  std::string path = write_temp_file(c.input);
  auto [tokens, err] = scan(path);
  EXPECT_EQ(tokens, c.tokens);
  std::string expected;
  for (auto [line, byte] : c.reported) expected += unexpected(path, line, byte);
  EXPECT_EQ(err, expected);
  // The same text held in memory gives the same tokens and messages.
  std::string messages;
  Lexer in_memory(c.input, path.c_str(), report_into(&messages, path));
  EXPECT_EQ(drain(in_memory), c.tokens);
  EXPECT_EQ(messages, expected);
}

INSTANTIATE_TEST_SUITE_P(Lexer, ScanTest, testing::ValuesIn(kScanCases),
                         [](const testing::TestParamInfo<ScanCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(LexerTest, UnexpectedCharacterMessageIsTwoLines) {
  std::string path = write_temp_file("$");
  auto [tokens, err] = scan(path);
  EXPECT_EQ(err, "ERROR (lexer) file " + path + " line 1:\n\tIgnoring unexpected character '$'\n");
  EXPECT_EQ(tokens, std::vector<Tok>{eof()});
}

TEST(LexerTest, FileOfExactlyOneChunkOfReactions) {
  std::string line = "A -> B;\n";
  std::string input;
  while (input.size() < kChunk) input += line;
  ASSERT_EQ(input.size(), kChunk);
  auto [tokens, err] = scan(write_temp_file(input));
  EXPECT_EQ(err, "");
  ASSERT_EQ(tokens.size(), 4 * kChunk / line.size() + 1);
  EXPECT_EQ(tokens[tokens.size() - 5], id("A", 2048));
  EXPECT_EQ(tokens[tokens.size() - 2], punct(';', 2049));
  EXPECT_EQ(tokens.back(), eof(2049));
}

TEST(LexerTest, MegabyteIdentifierIsKeptWhole) {
  std::string word;
  for (size_t i = 0; i < (1u << 20); ++i) word += static_cast<char>('a' + i % 26);
  std::string path = write_temp_file(word + " -> B");
  Lexer L(path.c_str());
  EXPECT_EQ(L.token(), TOKEN_IDENTIFIER);
  EXPECT_TRUE(L.word() == word);
  EXPECT_TRUE(L.text() == word);
  L.next_token();
  EXPECT_EQ(L.token(), TOKEN_ARROW);
  L.next_token();
  EXPECT_EQ(current(L), id("B"));
}

TEST(LexerTest, RewindGivesSameTokensAndLinesAgain) {
  // Longer than a chunk, so rewinding must read the first chunk again.
  std::string input = "A -> B;\nC $ -> 2 D;\n# end\n" + std::string(kChunk, ' ') + "\nE -> ;\n";
  std::string path = write_temp_file(input);
  std::string err;
  Lexer L(path.c_str(), report_into(&err, path));
  std::vector<Tok> first = drain(L);
  L.rewind();
  std::vector<Tok> second = drain(L);
  // Rewinding in the middle of the file starts over as well.
  L.rewind();
  L.next_token();
  L.next_token();
  L.rewind();
  std::vector<Tok> third = drain(L);

  std::vector<Tok> expected{id("A"),  arrow(),        id("B"),    punct(';', 2), id("C", 2),
                            arrow(2), num("2", 2, 2), id("D", 2), punct(';', 3), id("E", 5),
                            arrow(5), punct(';', 6),  eof(6)};
  EXPECT_EQ(first, expected);
  EXPECT_EQ(second, expected);
  EXPECT_EQ(third, expected);
  std::string once = unexpected(path, 2, '$');
  EXPECT_EQ(err, once + once + once);
  EXPECT_FALSE(L.failed());
}

TEST(LexerTest, EofStaysEof) {
  std::string path = write_temp_file("A");
  Lexer L(path.c_str());
  L.next_token();
  L.next_token();
  L.next_token();
  EXPECT_EQ(current(L), eof());
  L.rewind();
  EXPECT_EQ(current(L), id("A"));
}

TEST(LexerTest, MissingFile) {
  const char* path = "/nonexistent-dir/no-such-net.txt";
  std::string err;
  Lexer L(path, report_into(&err, path));
  EXPECT_FALSE(L.is_open());
  EXPECT_EQ(current(L), eof());
  EXPECT_STREQ(L.path(), path);
  L.next_token();
  L.rewind();
  EXPECT_EQ(current(L), eof());
  EXPECT_EQ(err, "");
}

TEST(LexerTest, DirectoryFailsToRead) {
  std::string file = write_temp_file("");
  std::string dir = file.substr(0, file.rfind('/'));
  Lexer L(dir.c_str());
  EXPECT_TRUE(L.failed());
  EXPECT_EQ(current(L), eof());
}

TEST(LexerTest, ReadingToEndIsNoFailure) {
  std::string path = write_temp_file("A -> B;\n");
  Lexer L(path.c_str());
  EXPECT_TRUE(L.is_open());
  drain(L);
  EXPECT_FALSE(L.failed());
}

TEST(LexerTest, TokenName) {
  const std::pair<int32_t, const char*> cases[] = {
      {TOKEN_EOF, "EOF"},
      {'+', "+"},
      {':', ":"},
      {';', ";"},
      {TOKEN_INTEGER, "integer"},
      {TOKEN_IDENTIFIER, "identifier"},
      {TOKEN_ARROW, "->"},
      {',', "?unknown token?"},
      {'-', "?unknown token?"},
      {-1, "?unknown token?"},
      {303, "?unknown token?"},
  };
  for (auto [code, name] : cases) EXPECT_STREQ(token_name(code), name) << "code " << code;
}

}  // namespace
