// Tokenizer for the reaction-network text format.
//
// The lexer reads its file (or a text held in memory) in fixed chunks
// through one buffer and always holds exactly one current token.
// Characters it cannot use are skipped and told to the warning handler, if
// one is set. Read failures are recorded and left to the caller (see
// failed()).
#ifndef CRNINV_READER_LEXER_H_
#define CRNINV_READER_LEXER_H_

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "reader/identifiers.h"

namespace crninv {

// Single-character tokens ('+', ':', ';') use their own character code.
constexpr int32_t TOKEN_EOF = 0;
constexpr int32_t TOKEN_INTEGER = 300;
constexpr int32_t TOKEN_IDENTIFIER = 301;
constexpr int32_t TOKEN_ARROW = 302;

// The printed name of a token code ("->", "identifier", ...).
const char* token_name(int32_t code);

// Told of a character that cannot start a token: the line it stands on,
// and the character, which is skipped.
using UnexpectedCharacter = std::function<void(uint32_t line, char c)>;

class Lexer {
 public:
  // Opens the file at path (borrowed: it must outlive the lexer) and scans
  // the first token. Check is_open() afterwards.
  explicit Lexer(const char* path, UnexpectedCharacter unexpected = nullptr);
  // Reads text (borrowed: it must outlive the lexer), named by name in
  // messages.
  Lexer(std::string_view text, const char* name, UnexpectedCharacter unexpected = nullptr);
  ~Lexer();
  Lexer(const Lexer&) = delete;
  Lexer& operator=(const Lexer&) = delete;

  bool is_open() const { return file != nullptr || in_memory; }
  void set_unexpected_character(UnexpectedCharacter handler) { unexpected = std::move(handler); }
  // True once reading the file has failed (an I/O error, a directory, or a
  // stream that cannot be rewound). The input then ends where it failed.
  bool failed() const { return read_failed; }

  void next_token();
  // Starts again at the first byte of the file and scans its first token.
  void rewind();

  int32_t token() const { return token_code; }
  // The token's text, valid until the next call of next_token() or
  // rewind(). It lies in the read buffer itself unless the token spans two
  // chunks, so the reader's lookups copy nothing.
  std::string_view word() const { return token_view; }
  // The same text, terminated by a NUL for messages; copied on demand.
  const char* text() const;
  // The numeral's value, saturated at 2147483647 (see int_overflow()).
  int32_t int_value() const { return token_value; }
  // True when the current numeral's value exceeds 2147483647.
  bool int_overflow() const { return value_saturated; }
  const char* path() const { return input_path; }
  uint32_t line() const { return line_number; }

 private:
  bool at_end() const { return cursor == nullptr; }
  char peek() const { return *cursor; }
  void advance();
  char get_char();
  void refill();
  void skip_line();
  void take_run(const bool* in_class);
  char* scan_run(const bool* in_class);
  void read_word();
  void read_number();

  UnexpectedCharacter unexpected;
  // A text in memory instead of a file, and how much of it was read.
  bool in_memory = false;
  std::string_view memory;
  size_t memory_read = 0;
  char* buffer = nullptr;     // one chunk plus the NUL sentinel after it
  char* cursor = nullptr;     // next unread byte; null at end of input
  char* chunk_end = nullptr;  // the sentinel's position in buffer
  FILE* file = nullptr;
  const char* input_path;
  uint32_t line_number = 1;
  int32_t token_code = TOKEN_EOF;
  std::string_view token_view;
  // A token that spans chunks, or text()'s copy; keeps its capacity, so
  // tokens cost no allocation.
  mutable std::string token_text;
  int32_t token_value = 0;
  bool value_saturated = false;
  bool read_failed = false;
};

}  // namespace crninv

#endif  // CRNINV_READER_LEXER_H_
