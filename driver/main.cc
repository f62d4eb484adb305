// crninv: linear invariants of a chemical reaction network.
//
// Reads the network file twice: pass 1 collects the species and counts the
// reactions, pass 2 fills the augmented matrix [stoichiometry | -identity].
// Exact integer elimination then yields the conservation laws (flows) and
// the one-signed and mixed rows, printed only once all of it has succeeded.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <sstream>
#include <string>

#include "algebra/reduce.h"
#include "algebra/report.h"
#include "algebra/row.h"
#include "algebra/row_storage.h"
#include "algebra/unimodular.h"
#include "driver/memory.h"
#include "driver/progress.h"
#include "reader/lexer.h"
#include "reader/names.h"
#include "reader/parser.h"

namespace {

[[noreturn]] void out_of_memory() {
  clear_progress_line();
  fputs("Out of memory\n", stderr);
  exit(1);
}

[[noreturn]] void cannot_read(const char* path) {
  fprintf(stderr, "Couldn't read from file %s\n", path);
  exit(1);
}

void print_section(const char* heading, int32_t wanted, const Row* rows, uint32_t R, uint32_t S,
                   const SpeciesNames& index2species, const ReactionNames& Reactions) {
  fputs(heading, stdout);
  for (uint32_t k = 0; k < S; ++k) {
    if (classify(rows[k], R, S) != wanted) continue;
    fputc('\t', stdout);
    print_row(rows[k], index2species, Reactions);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "Usage: %s infile\n\n", argv[0]);
    return 1;
  }
  std::set_new_handler(out_of_memory);

  Lexer L(argv[1]);
  if (!L.is_open()) cannot_read(argv[1]);
  SpeciesTable Species;
  ReactionNames Reactions;
  SpeciesNames index2species;
  Parser P(L, Species, Reactions);

  fprintf(stderr, "Reading from %s\nPass 1\n", argv[1]);
  uint32_t R = P.parse_all();
  if (L.failed()) cannot_read(argv[1]);
  uint32_t S = static_cast<uint32_t>(Species.size());
  fprintf(stderr, "There are:\n\t%u species\n\t%u reactions\n", S, R);

  index2species.resize(S, nullptr);
  for (auto it = Species.begin(); it != Species.end(); ++it) index2species[it->second] = &it->first;

  Reactions.resize(R);
  for (uint32_t j = 0; j < R; ++j) {
    std::ostringstream thing;
    thing << "(reaction " << j + 1 << ")";
    Reactions[j] = thing.str();
  }

  // The augmented matrix: row k is species k, columns [0, R) its net change
  // in each reaction, columns [R, R + S) minus the identity. Its rows hold
  // only their nonzero entries; the memory they may take is what the
  // machine has left.
  if (uint64_t{R} + S > UINT32_MAX) out_of_memory();
  set_storage_limit(storage_budget());
  Row* rows = new Row[S];
  for (uint32_t k = 0; k < S; ++k) {
    rows[k].resize(R + S);
    rows[k].add(R + k, -1);
  }

  fputs("Pass 2\n", stderr);
  L.rewind();
  if (L.failed()) cannot_read(argv[1]);
  P.attach_rows(rows);
  uint32_t again = P.parse_all();
  if (L.failed()) cannot_read(argv[1]);
  if (again != R) P.fail_changed();

  PivotRule rule =
      provably_unimodular(rows, S, R) ? PivotRule::kLeastFill : PivotRule::kSmallestMagnitude;
  {
    Progress progress;
    reduce(rows, S, R + S, rule, progress.hook());
  }

  print_section("Flows (== constant):\n", ROW_FLOW, rows, R, S, index2species, Reactions);
  print_section("\nInequalities (remove reactions, <= constant):\n", ROW_INEQUALITY, rows, R, S,
                index2species, Reactions);
  print_section("\nIrreducible:\n", ROW_IRREDUCIBLE, rows, R, S, index2species, Reactions);
  // The rows go first, before the locals, on the failed write's path too.
  delete[] rows;
  if (fflush(stdout) != 0 || ferror(stdout)) {
    fputs("Couldn't write to standard output\n", stderr);
    return 1;
  }
  return 0;
}
