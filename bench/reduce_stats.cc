// Reads a network file as crninv does and prints what its reduction did:
// S, R, seconds, eliminations, pivot entries visited, peak nonzero entries,
// peak bytes of row storage. For bench/ladder/growth.sh.
//
//   usage: reduce_stats NETWORK_FILE
#include <chrono>
#include <cstdio>

#include "base/storage.h"
#include "crninv/text_format.h"
#include "reduce/reduce.h"
#include "reduce/unimodular.h"
#include "rows/from_matrix.h"

using namespace crninv;

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s NETWORK_FILE\n", argv[0]);
    return 2;
  }
  Network network = read_network(argv[1], {32, nullptr});
  const SparseMatrix& n = network.stoichiometry();
  uint32_t S = n.rows, R = n.columns;
  StorageAccount account;
  AccountScope scope(account);
  auto rows = rows_from<Row>(augmented(n));

  auto start = std::chrono::steady_clock::now();
  PivotRule rule = provably_unimodular(n) ? PivotRule::kLeastFill : PivotRule::kSmallestMagnitude;
  ReduceStats stats;
  Control control;
  Monitor monitor(control, Progress::kReduction);
  reduce(rows.get(), S, R + S, rule, monitor, &stats);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  printf("%u %u %.3f %llu %llu %llu %llu\n", S, R, seconds,
         static_cast<unsigned long long>(stats.eliminations),
         static_cast<unsigned long long>(stats.pivot_entries),
         static_cast<unsigned long long>(stats.peak_entries),
         static_cast<unsigned long long>(account.peak()));
  return 0;
}
