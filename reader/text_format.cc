// Reading a network: pass 1 collects the species and counts the reactions,
// pass 2 hands every term to a NetworkBuilder.
#include "crninv/text_format.h"

#include <string>
#include <vector>

#include "crninv/errors.h"
#include "reader/lexer.h"
#include "reader/names.h"
#include "reader/parser.h"

namespace crninv {

namespace {

Network read(Lexer& lexer, const ReadOptions& options) {
  if (!lexer.is_open()) throw ReadError(ReadError::kCannotRead, lexer.path());
  SpeciesTable species;
  ReactionNames reactions;
  Parser parser(lexer, species, reactions);
  uint32_t R = parser.parse_all();
  if (lexer.failed()) throw ReadError(ReadError::kCannotRead, lexer.path());
  reactions.resize(R);
  for (uint32_t j = 0; j < R; ++j) reactions[j] = "(reaction " + std::to_string(j + 1) + ")";
  // The characters skipped were told once, in pass 1.
  lexer.set_unexpected_character(nullptr);
  lexer.rewind();
  NetworkBuilder builder(options.bits);
  parser.attach(&builder);
  if (parser.parse_all() != R) parser.fail_changed();
  if (lexer.failed()) throw ReadError(ReadError::kCannotRead, lexer.path());
  std::vector<std::string> names(species.size());
  for (const auto& entry : species) names[entry.second] = entry.first;
  return builder.finish(std::move(names), std::move(reactions));
}

}  // namespace

Network read_network(const std::string& path, const ReadOptions& options) {
  Lexer lexer(path.c_str(), options.unexpected_character);
  return read(lexer, options);
}

Network parse_network(std::string_view text, const ReadOptions& options, const std::string& name) {
  Lexer lexer(text, name.c_str(), options.unexpected_character);
  return read(lexer, options);
}

}  // namespace crninv
