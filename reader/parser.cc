#include "reader/parser.h"

#include <cstdio>
#include <cstdlib>
#include <string>

Parser::Parser(Lexer& lexer, SpeciesTable& species, ReactionNames& reactions)
    : lexer(lexer), species(species), reactions(reactions) {}

uint32_t Parser::parse_all() {
  uint32_t reaction = 0;
  while (parse_reaction(reaction)) ++reaction;
  return reaction;
}

void Parser::attach_rows(Row* first_row) {
  rows = first_row;
}

bool Parser::parse_reaction(uint32_t reaction) {
  trace("Parsing reaction LHS in %s near line %u:\n", lexer.path(), lexer.line());
  if (lexer.token() == TOKEN_EOF) return false;
  // Pass 2 has a column for each reaction that pass 1 counted, and no more.
  if (rows != nullptr && reaction >= reactions.size()) fail_changed();

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
      add_term(reaction, ident, -1);
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
    parse_side(reaction, -1, TOKEN_ARROW);
  }
  trace("Parsing reaction RHS in %s near line %u:\n", lexer.path(), lexer.line());
  // The right side: empty, or terms up to the ';'.
  if (lexer.token() == ';') {
    lexer.next_token();
  } else {
    parse_side(reaction, 1, ';');
  }
  trace("Done parsing reaction\n");
  return true;
}

// Terms joined by '+' up to the token end, which is consumed. Reactants
// (sign -1) subtract their coefficients, products (sign 1) add them.
void Parser::parse_side(uint32_t reaction, int32_t sign, int32_t end) {
  for (;;) {
    int32_t coefficient = read_coefficient();
    if (lexer.token() != TOKEN_IDENTIFIER) fail_expecting(TOKEN_IDENTIFIER);
    trace("Got next reactant %d %.*s\n", coefficient, static_cast<int>(lexer.word().size()),
          lexer.word().data());
    add_term(reaction, lexer.word(), sign * coefficient);
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
    error_header();
    fputs("\tExpecting integer at most 2147483647\n", stderr);
    exit(1);
  }
  int32_t coefficient = lexer.int_value();
  lexer.next_token();
  return coefficient;
}

void Parser::add_term(uint32_t reaction, std::string_view name, int32_t value) {
  uint32_t index = species_index(name);
  if (rows != nullptr) rows[index].add(reaction, value);
}

uint32_t Parser::species_index(std::string_view name) {
  uint32_t index;
  if (species.lookup(name, &index)) return index;
  // Pass 2 has a row for each species of pass 1 only.
  if (rows != nullptr) fail_changed();
  uint32_t n = static_cast<uint32_t>(species.size());
  species.emplace(name, n);
  return n;
}

void Parser::error_header() {
  fprintf(stderr, "ERROR (parser) file %s line %u text %s:\n", lexer.path(), lexer.line(),
          lexer.text());
}

void Parser::fail_expecting(int32_t expected) {
  error_header();
  fputs("\tExpecting ", stderr);
  print_token_name(stderr, expected);
  fputc('\n', stderr);
  exit(1);
}

void Parser::fail_expecting(int32_t first, int32_t second) {
  error_header();
  fputs("\tExpecting ", stderr);
  print_token_name(stderr, first);
  fputs(" or ", stderr);
  print_token_name(stderr, second);
  fputc('\n', stderr);
  exit(1);
}

void Parser::fail_changed() {
  fprintf(stderr, "File %s changed while it was being read\n", lexer.path());
  exit(1);
}
