#include "reader/network_file.h"

#include "reader/lexer.h"
#include "reader/names.h"
#include "reader/parser.h"

bool read_network_file(const char* path, bool augmented, NetworkFile* out) {
  Lexer lexer(path);
  if (!lexer.is_open()) return false;
  SpeciesTable species;
  ReactionNames reactions;
  Parser parser(lexer, species, reactions);
  uint32_t R = parser.parse_all();
  if (lexer.failed()) return false;
  uint32_t S = static_cast<uint32_t>(species.size());
  reactions.resize(R);
  out->reactions = R;
  out->species.assign(S, std::string());
  for (const auto& entry : species) out->species[entry.second] = entry.first;
  out->rows = std::vector<Row>(S);
  for (uint32_t k = 0; k < S; ++k) {
    out->rows[k].resize(augmented ? R + S : R);
    if (augmented) out->rows[k].add(R + k, -1);
  }
  lexer.rewind();
  parser.attach_rows(out->rows.data());
  return parser.parse_all() == R && !lexer.failed();
}
