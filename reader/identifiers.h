// Which bytes make an identifier of the network text format: the rule that
// the lexer reads by and that the converters write names by.
#ifndef CRNINV_READER_IDENTIFIERS_H_
#define CRNINV_READER_IDENTIFIERS_H_

// True for the bytes that may begin an identifier (letters and '_'), and
// for those that may continue one (also digits, '[' and ']').
namespace crninv {

bool is_word_start(char c);
bool is_word_char(char c);

}  // namespace crninv

#endif  // CRNINV_READER_IDENTIFIERS_H_
