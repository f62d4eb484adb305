#include "reader/identifiers.h"

namespace crninv {

bool is_word_start(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool is_word_char(char c) {
  return is_word_start(c) || (c >= '0' && c <= '9') || c == '[' || c == ']';
}

}  // namespace crninv
