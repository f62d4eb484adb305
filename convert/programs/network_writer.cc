#include "convert/programs/network_writer.h"

#include <cinttypes>

namespace {

void write_side(FILE* out, const crninv::Network& network, crninv::Side side) {
  bool first = true;
  for (const crninv::Term& t : side) {
    fputs(first ? " " : " + ", out);
    first = false;
    if (t.coefficient != 1) fprintf(out, "%" PRId64 " ", t.coefficient);
    fputs(network.species()[t.species].c_str(), out);
  }
}

}  // namespace

void write_reaction(FILE* out, const crninv::Network& network, uint32_t j) {
  fputs(network.reactions()[j].c_str(), out);
  fputc(':', out);
  write_side(out, network, network.reactants(j));
  fputs(" ->", out);
  crninv::Side products = network.products(j);
  write_side(out, network, products);
  fputs(products.empty() ? " ;\n" : ";\n", out);
}

void write_comment(FILE* out, const std::string& text) {
  fputs("# ", out);
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    fputc(u < 0x20 || u == 0x7f ? '?' : c, out);
  }
  fputc('\n', out);
}

int finish_output(const char* program) {
  if (fflush(stdout) != 0 || ferror(stdout)) {
    fprintf(stderr, "%s: cannot write to standard output\n", program);
    return 1;
  }
  return 0;
}
