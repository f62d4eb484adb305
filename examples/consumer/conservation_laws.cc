// conservation_laws FILE: the conservation laws of a network, one a line,
// as "2 H2 + 2 H2O + H + OH", computed by the crninv library with integers
// as wide as they need; or what went wrong.
#include <cstdio>
#include <string>

#include "crninv/errors.h"
#include "crninv/invariants.h"
#include "crninv/text_format.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  try {
    crninv::Network network = crninv::read_network(argv[1]);
    crninv::InvariantOptions options;
    options.wide = true;
    crninv::Invariants result = crninv::invariants(network, options);
    const crninv::IntegerRows& rows = result.rows;
    for (uint32_t k = 0; k < rows.size(); ++k) {
      if (result.classes[k] != crninv::RowClass::kFlow) continue;
      std::string law;
      for (uint64_t e = rows.start[k]; e < rows.start[k + 1]; ++e) {
        std::string coefficient = rows.at(e).to_string();
        if (!law.empty()) law += " + ";
        if (coefficient != "1") law += coefficient + " ";
        law += network.species()[rows.column[e] - result.effects];
      }
      std::printf("%s\n", law.c_str());
    }
  } catch (const crninv::Error& e) {
    std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
