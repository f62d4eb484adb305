// Recursive-descent parser for reactions such as "fwd: 2 A + B -> X;".
//
// The driver runs it twice over the same file. In pass 1 (no rows attached)
// it enters species names and counts reactions; in pass 2 it adds each
// stoichiometric coefficient into the row of its species at the column of
// its reaction, and stores reaction labels. Syntax errors end the process.
#ifndef CRNINV_READER_PARSER_H_
#define CRNINV_READER_PARSER_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "algebra/row.h"
#include "reader/lexer.h"
#include "reader/names.h"

// Progress hook of the parser; deliberately writes nothing.
inline void trace(const char* /*format*/, ...) {}

class Parser {
 public:
  // The lexer must already hold its first token. Nothing is owned.
  Parser(Lexer& lexer, SpeciesTable& species, ReactionNames& reactions);

  // Parses reactions until the end of input; returns how many there were.
  uint32_t parse_all();
  // Switches to pass 2: coefficients go into rows[species index].
  void attach_rows(Row* rows);
  // Parses one reaction with the given index; false at end of input.
  bool parse_reaction(uint32_t reaction);
  // The index of name, entered with the next free index when new (pass 1).
  uint32_t species_index(std::string_view name);

  // Ends the run because pass 2 did not see the text that pass 1 saw.
  [[noreturn]] void fail_changed();

 private:
  void error_header();
  [[noreturn]] void fail_expecting(int32_t expected);
  [[noreturn]] void fail_expecting(int32_t first, int32_t second);
  void parse_side(uint32_t reaction, int32_t sign, int32_t end);
  int32_t read_coefficient();
  void add_term(uint32_t reaction, std::string_view name, int32_t value);

  Lexer& lexer;
  SpeciesTable& species;
  ReactionNames& reactions;
  Row* rows = nullptr;  // null in pass 1
};

#endif  // CRNINV_READER_PARSER_H_
