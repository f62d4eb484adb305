// Reads a network file as crninv does and prints what its reduction did:
// S, R, seconds, eliminations, pivot entries visited, peak nonzero entries,
// peak bytes of row storage. For bench/ladder/growth.sh.
//
//   usage: reduce_stats NETWORK_FILE
#include <chrono>
#include <cstdio>
#include <memory>

#include "algebra/reduce.h"
#include "algebra/row_storage.h"
#include "algebra/unimodular.h"
#include "reader/lexer.h"
#include "reader/names.h"
#include "reader/parser.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s NETWORK_FILE\n", argv[0]);
    return 2;
  }
  Lexer L(argv[1]);
  if (!L.is_open()) return 1;
  SpeciesTable Species;
  ReactionNames Reactions;
  Parser P(L, Species, Reactions);
  uint32_t R = P.parse_all();
  uint32_t S = static_cast<uint32_t>(Species.size());
  Reactions.resize(R);
  std::unique_ptr<Row[]> rows(new Row[S]);
  for (uint32_t k = 0; k < S; ++k) {
    rows[k].resize(R + S);
    rows[k].add(R + k, -1);
  }
  L.rewind();
  P.attach_rows(rows.get());
  P.parse_all();

  auto start = std::chrono::steady_clock::now();
  PivotRule rule =
      provably_unimodular(rows.get(), S, R) ? PivotRule::kLeastFill : PivotRule::kSmallestMagnitude;
  ReduceStats stats;
  reduce(rows.get(), S, R + S, rule, {}, &stats);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  printf("%u %u %.3f %llu %llu %llu %llu\n", S, R, seconds,
         static_cast<unsigned long long>(stats.eliminations),
         static_cast<unsigned long long>(stats.pivot_entries),
         static_cast<unsigned long long>(stats.peak_entries),
         static_cast<unsigned long long>(storage_peak()));
  return 0;
}
