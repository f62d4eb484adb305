#include "reader/parser.h"

#include <string>

#include "crninv/errors.h"

namespace crninv {

Parser::Parser(Lexer& lexer, SpeciesTable& species, ReactionNames& reactions)
    : lexer(lexer), species(species), reactions(reactions) {}

uint32_t Parser::parse_all() {
  uint32_t reaction = 0;
  while (parse_reaction(reaction)) ++reaction;
  return reaction;
}

void Parser::attach(NetworkBuilder* pass_2) {
  builder = pass_2;
}

bool Parser::parse_reaction(uint32_t reaction) {
  trace("Parsing reaction LHS in %s near line %u:\n", lexer.path(), lexer.line());
  if (lexer.token() == TOKEN_EOF) return false;
  // Pass 2 has a column for each reaction that pass 1 counted, and no more.
  if (builder != nullptr && reaction >= reactions.size()) fail_changed();

  if (lexer.token() == TOKEN_IDENTIFIER) {
    // Label or first reactant: only the token after it tells, and that
    // token replaces the text, so the word is copied first.
    std::string ident(lexer.word());
    lexer.next_token();
    if (lexer.token() == ':') {
      lexer.next_token();
      if (reaction < reactions.size()) reactions[reaction] = ident;
      trace("Got reaction label %s\n", ident.c_str());
    } else {
      add_term(reaction, ident, 1, false);
      trace("Got species %s\n", ident.c_str());
      if (lexer.token() == '+') {
        lexer.next_token();
        // "A + -> B;" is accepted: the '+' may lead straight to the arrow.
      } else if (lexer.token() != TOKEN_ARROW) {
        fail_expecting(TOKEN_ARROW);
      }
    }
  }

  // The left side: empty, or terms up to the arrow.
  if (lexer.token() == TOKEN_ARROW) {
    lexer.next_token();
  } else {
    parse_side(reaction, false, TOKEN_ARROW);
  }
  trace("Parsing reaction RHS in %s near line %u:\n", lexer.path(), lexer.line());
  // The right side: empty, or terms up to the ';'.
  if (lexer.token() == ';') {
    lexer.next_token();
  } else {
    parse_side(reaction, true, ';');
  }
  trace("Done parsing reaction\n");
  return true;
}

// Terms joined by '+' up to the token end, which is consumed: the reactants,
// or the products.
void Parser::parse_side(uint32_t reaction, bool products, int32_t end) {
  for (;;) {
    int32_t coefficient = read_coefficient();
    if (lexer.token() != TOKEN_IDENTIFIER) fail_expecting(TOKEN_IDENTIFIER);
    trace("Got next reactant %d %.*s\n", coefficient, static_cast<int>(lexer.word().size()),
          lexer.word().data());
    add_term(reaction, lexer.word(), coefficient, products);
    lexer.next_token();
    if (lexer.token() == '+') {
      lexer.next_token();
    } else if (lexer.token() == end) {
      lexer.next_token();
      return;
    } else {
      fail_expecting('+', end);
    }
  }
}

// An optional numeral before a species name; 1 when there is none.
int32_t Parser::read_coefficient() {
  if (lexer.token() != TOKEN_INTEGER) return 1;
  if (lexer.int_overflow()) {
    // A coefficient that does not fit would silently change the network.
    fail("integer at most 2147483647");
  }
  int32_t coefficient = lexer.int_value();
  lexer.next_token();
  return coefficient;
}

void Parser::add_term(uint32_t reaction, std::string_view name, int32_t coefficient, bool product) {
  uint32_t index = species_index(name);
  if (builder != nullptr) builder->add_term(reaction, index, coefficient, product);
}

uint32_t Parser::species_index(std::string_view name) {
  uint32_t index;
  if (species.lookup(name, &index)) return index;
  // Pass 2 has a row for each species of pass 1 only.
  if (builder != nullptr) fail_changed();
  uint32_t n = static_cast<uint32_t>(species.size());
  species.emplace(name, n);
  return n;
}

void Parser::fail(std::string expected) {
  throw SyntaxError(lexer.path(), lexer.line(), lexer.text(), std::move(expected));
}

void Parser::fail_expecting(int32_t expected) {
  fail(token_name(expected));
}

void Parser::fail_expecting(int32_t first, int32_t second) {
  fail(std::string(token_name(first)) + " or " + token_name(second));
}

void Parser::fail_changed() {
  throw ReadError(ReadError::kChanged, lexer.path());
}

}  // namespace crninv
