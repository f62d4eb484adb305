// Reads a network file as crninv does and prints what its reduction did:
// S, R, seconds, eliminations, pivot entries visited, peak nonzero entries,
// peak bytes of row storage. For bench/ladder/growth.sh.
//
//   usage: reduce_stats NETWORK_FILE
#include <chrono>
#include <cstdio>

#include "reduce/reduce.h"
#include "base/storage.h"
#include "reduce/unimodular.h"
#include "reader/network_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s NETWORK_FILE\n", argv[0]);
    return 2;
  }
  NetworkFile file;
  if (!read_network_file(argv[1], true, &file)) return 1;
  uint32_t S = static_cast<uint32_t>(file.rows.size()), R = file.reactions;
  Row* rows = file.rows.data();

  auto start = std::chrono::steady_clock::now();
  PivotRule rule =
      provably_unimodular(rows, S, R) ? PivotRule::kLeastFill : PivotRule::kSmallestMagnitude;
  ReduceStats stats;
  reduce(rows, S, R + S, rule, {}, &stats);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  printf("%u %u %.3f %llu %llu %llu %llu\n", S, R, seconds,
         static_cast<unsigned long long>(stats.eliminations),
         static_cast<unsigned long long>(stats.pivot_entries),
         static_cast<unsigned long long>(stats.peak_entries),
         static_cast<unsigned long long>(storage_peak()));
  return 0;
}
