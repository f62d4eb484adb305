#include "convert/network_writer.h"

namespace {

void write_side(FILE* out, const std::vector<Term>& terms) {
  for (size_t i = 0; i < terms.size(); ++i) {
    if (i != 0) fputs(" +", out);
    fputc(' ', out);
    if (terms[i].coefficient != 1) fprintf(out, "%d ", static_cast<int>(terms[i].coefficient));
    fputs(terms[i].name->c_str(), out);
  }
}

}  // namespace

void write_reaction(FILE* out, const std::string& label, const std::vector<Term>& left,
                    const std::vector<Term>& right) {
  fputs(label.c_str(), out);
  fputc(':', out);
  write_side(out, left);
  fputs(" ->", out);
  write_side(out, right);
  fputs(right.empty() ? " ;\n" : ";\n", out);
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
