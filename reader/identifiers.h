// Which bytes make an identifier of the network text format: the rule that
// the lexer reads by and that the converters write names by.
#ifndef CRNINV_READER_IDENTIFIERS_H_
#define CRNINV_READER_IDENTIFIERS_H_

// True for the bytes that may begin an identifier (letters and '_'), and
// for those that may continue one (also digits, '[' and ']').
namespace crninv {

constexpr bool is_word_start(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

constexpr bool is_word_char(char c) {
  return is_word_start(c) || (c >= '0' && c <= '9') || c == '[' || c == ']';
}

}  // namespace crninv

#endif  // CRNINV_READER_IDENTIFIERS_H_
