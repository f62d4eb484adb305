#include "reader/lexer.h"

#include <algorithm>
#include <cstring>

namespace crninv {

namespace {

// One read of the file; the buffer holds this much plus the sentinel.
constexpr size_t kChunkSize = 16384;

constexpr bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Byte classes as tables, for the scans that run over whole words.
struct ByteClass {
  bool member[256];
};

// Made when compiling: constant tables, no state.
template <typename Predicate>
constexpr ByteClass make_class(Predicate predicate) {
  ByteClass result{};
  for (int c = 0; c < 256; ++c) result.member[c] = predicate(static_cast<char>(c));
  return result;
}

constexpr ByteClass kWordChars = make_class(is_word_char);
constexpr ByteClass kDigits = make_class(is_digit);

}  // namespace

const char* token_name(int32_t code) {
  const char* name = "?unknown token?";
  switch (code) {
    case TOKEN_EOF:
      name = "EOF";
      break;
    case '+':
      name = "+";
      break;
    case ':':
      name = ":";
      break;
    case ';':
      name = ";";
      break;
    case TOKEN_INTEGER:
      name = "integer";
      break;
    case TOKEN_IDENTIFIER:
      name = "identifier";
      break;
    case TOKEN_ARROW:
      name = "->";
      break;
  }
  return name;
}

Lexer::Lexer(const char* path, UnexpectedCharacter unexpected)
    : unexpected(std::move(unexpected)), input_path(path) {
  file = fopen(input_path, "r");
  if (file != nullptr) {
    buffer = new char[kChunkSize + 1];
    refill();
  }
  next_token();
}

Lexer::Lexer(std::string_view text, const char* name, UnexpectedCharacter unexpected)
    : unexpected(std::move(unexpected)), in_memory(true), memory(text), input_path(name) {
  buffer = new char[kChunkSize + 1];
  refill();
  next_token();
}

Lexer::~Lexer() {
  if (file != nullptr) fclose(file);
  delete[] buffer;
}

void Lexer::refill() {
  size_t n;
  if (in_memory) {
    n = std::min(kChunkSize, memory.size() - memory_read);
    memcpy(buffer, memory.data() + memory_read, n);
    memory_read += n;
  } else if (file != nullptr) {
    n = fread(buffer, 1, kChunkSize, file);
  } else {
    return;
  }
  if (n > 0) {
    buffer[n] = '\0';
    cursor = buffer;
    chunk_end = buffer + n;
  } else {
    if (file != nullptr && ferror(file)) read_failed = true;
    cursor = nullptr;
  }
}

// The NUL after each chunk makes the end test one byte compare on the fast
// path; only a NUL is then checked against the chunk's end, so NUL bytes of
// the file itself are delivered like any other byte.
void Lexer::advance() {
  ++cursor;
  if (*cursor == '\0' && cursor == chunk_end) refill();
}

char Lexer::get_char() {
  char c = *cursor;
  advance();
  return c;
}

// Passes over everything up to and including the next line feed.
void Lexer::skip_line() {
  while (!at_end()) {
    if (get_char() == '\n') {
      ++line_number;
      return;
    }
  }
}

const char* Lexer::text() const {
  if (token_view.data() != token_text.data()) token_text.assign(token_view);
  return token_text.c_str();
}

void Lexer::next_token() {
  token_value = 0;
  value_saturated = false;
  for (;;) {
    if (at_end()) {
      token_code = TOKEN_EOF;
      token_view = {};
      return;
    }
    char c = peek();
    switch (c) {
      case ' ':
      case '\t':
      case '\r':
        advance();
        continue;
      case '\n':
        advance();
        ++line_number;
        continue;
      case '#':
        skip_line();
        continue;
      case '+':
      case ':':
      case ';':
        advance();
        token_code = c;
        token_view = c == '+' ? "+" : c == ':' ? ":" : ";";
        // A ';' ends the useful part of its line: the rest is never looked at.
        if (c == ';') skip_line();
        return;
    }
    if (is_word_start(c)) {
      read_word();
      return;
    }
    if (is_digit(c)) {
      read_number();
      return;
    }
    advance();
    if (c == '-' && !at_end() && peek() == '>') {
      advance();
      token_code = TOKEN_ARROW;
      token_view = "->";
      return;
    }
    if (unexpected) unexpected(line_number, c);
  }
}

// Takes the bytes of the class from the cursor on as the token. A run
// inside the chunk is the token as it lies in the buffer; NUL is in no
// class, so the sentinel ends every run, and only a run that reaches the
// chunk's end is copied, to go on in the next chunk.
void Lexer::take_run(const bool* in_class) {
  char* start = cursor;
  char* end = scan_run(in_class);
  if (*end != '\0' || end != chunk_end) {
    token_view = std::string_view(start, static_cast<size_t>(end - start));
    return;
  }
  token_text.assign(start, static_cast<size_t>(end - start));
  for (refill(); !at_end(); refill()) {
    start = cursor;
    end = scan_run(in_class);
    token_text.append(start, static_cast<size_t>(end - start));
    if (*end != '\0' || end != chunk_end) break;
  }
  token_view = token_text;
}

// Moves the cursor past the bytes of the class and returns it.
char* Lexer::scan_run(const bool* in_class) {
  char* p = cursor;  // a local: stores through char may not touch it
  while (in_class[static_cast<unsigned char>(*p)]) ++p;
  cursor = p;
  return p;
}

// Words are kept whole, however long: two species that differ only after
// many characters must stay two species.
void Lexer::read_word() {
  take_run(kWordChars.member);
  token_code = TOKEN_IDENTIFIER;
}

// The value saturates at 2147483647; int_overflow() tells the parser that
// the numeral did not fit, so that it never takes a changed coefficient.
void Lexer::read_number() {
  take_run(kDigits.member);
  int32_t value = 0;
  for (char c : token_view) {
    int32_t digit = c - '0';
    if (value > (INT32_MAX - digit) / 10) {
      value = INT32_MAX;
      value_saturated = true;
      break;
    }
    value = value * 10 + digit;
  }
  token_value = value;
  token_code = TOKEN_INTEGER;
}

void Lexer::rewind() {
  if (file == nullptr && !in_memory) return;
  // The C library's rewind() hides failure; a pipe cannot go back, and
  // pass 2 must then not run on an empty input as if it were the file.
  if (in_memory) {
    memory_read = 0;
    refill();
  } else if (fseek(file, 0, SEEK_SET) != 0) {
    read_failed = true;
    cursor = nullptr;
  } else {
    clearerr(file);
    refill();
  }
  line_number = 1;
  token_code = TOKEN_EOF;
  token_value = 0;
  next_token();
}

}  // namespace crninv
