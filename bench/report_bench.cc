// Printing reduced rows: the report of a large network is millions of terms.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "reduce/reduce.h"
#include "report/report.h"
#include "bench/bench_networks.h"

namespace {

void BM_PrintRows(benchmark::State& state) {
  const uint32_t S = 1000, R = 1500;
  auto rows = network_rows(S, R, 3);
  reduce(rows.get(), S, R + S);
  std::vector<std::string> species(S), reactions(R);
  for (uint32_t k = 0; k < S; ++k) species[k] = "M_species_" + std::to_string(k) + "_c";
  for (uint32_t j = 0; j < R; ++j) reactions[j] = "(reaction " + std::to_string(j + 1) + ")";
  const Names species_names(species.begin(), species.end());
  const Names reaction_names(reactions.begin(), reactions.end());
  // The rows go to /dev/null; the benchmark's own table to the old stdout.
  fflush(stdout);
  int saved = dup(1);
  if (freopen("/dev/null", "w", stdout) == nullptr) state.SkipWithError("no /dev/null");
  for (auto _ : state) {
    for (uint32_t k = 0; k < S; ++k) {
      benchmark::DoNotOptimize(classify(rows[k], R, S));
      print_row(rows[k], reaction_names, species_names);
    }
  }
  fflush(stdout);
  dup2(saved, 1);
  close(saved);
  state.SetItemsProcessed(state.iterations() * S);
}
BENCHMARK(BM_PrintRows)->Unit(benchmark::kMillisecond);

}  // namespace
