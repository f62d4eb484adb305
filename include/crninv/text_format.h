// The network text format: one reaction per line, "label: 2 A + B -> C;",
// '#' comments (man crninv tells it whole).
#ifndef CRNINV_TEXT_FORMAT_H_
#define CRNINV_TEXT_FORMAT_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "crninv/network.h"

namespace crninv {

struct ReadOptions {
  // The net change of a species in a reaction must fit this many bits (32:
  // as in the specified run, which reads 32-bit entries; 64). Past it the
  // reading throws Overflow.
  int bits = 64;
  // Told of each character that cannot start a token, which is skipped:
  // its line and the character. May be empty.
  std::function<void(uint32_t line, char c)> unexpected_character;
};

// Throws ReadError when the file cannot be read, SyntaxError, Overflow.
Network read_network(const std::string& path, const ReadOptions& options = {});
// The same for a text held whole; name stands for the file in errors.
Network parse_network(std::string_view text, const ReadOptions& options = {},
                      const std::string& name = "<string>");

}  // namespace crninv

#endif  // CRNINV_TEXT_FORMAT_H_
