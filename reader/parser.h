// Recursive-descent parser for reactions such as "fwd: 2 A + B -> X;".
//
// It runs twice over the same text. In pass 1 (nothing attached) it enters
// species names and counts reactions; in pass 2 it hands each term to a
// NetworkBuilder, which sums the net changes, and stores reaction labels.
// A syntax error throws SyntaxError; a text that pass 2 does not see as
// pass 1 did throws ReadError.
#ifndef CRNINV_READER_PARSER_H_
#define CRNINV_READER_PARSER_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "crninv/network.h"
#include "reader/lexer.h"
#include "reader/names.h"

namespace crninv {

// Progress hook of the parser; deliberately writes nothing.
inline void trace(const char* /*format*/, ...) {}

class Parser {
 public:
  // The lexer must already hold its first token. Nothing is owned.
  Parser(Lexer& lexer, SpeciesTable& species, ReactionNames& reactions);

  // Parses reactions until the end of input; returns how many there were.
  uint32_t parse_all();
  // Switches to pass 2: the terms go to builder.
  void attach(NetworkBuilder* builder);
  // Parses one reaction with the given index; false at end of input.
  bool parse_reaction(uint32_t reaction);
  // The index of name, entered with the next free index when new (pass 1).
  uint32_t species_index(std::string_view name);

  // Throws ReadError: pass 2 did not see the text that pass 1 saw.
  [[noreturn]] void fail_changed();

 private:
  [[noreturn]] void fail(std::string expected);
  [[noreturn]] void fail_expecting(int32_t expected);
  [[noreturn]] void fail_expecting(int32_t first, int32_t second);
  void parse_side(uint32_t reaction, bool products, int32_t end);
  int32_t read_coefficient();
  void add_term(uint32_t reaction, std::string_view name, int32_t coefficient, bool product);

  Lexer& lexer;
  SpeciesTable& species;
  ReactionNames& reactions;
  NetworkBuilder* builder = nullptr;  // null in pass 1
};

}  // namespace crninv

#endif  // CRNINV_READER_PARSER_H_
