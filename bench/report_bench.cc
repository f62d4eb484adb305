// Writing the report: that of a large network is millions of terms.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "analysis/results.h"
#include "bench/bench_networks.h"
#include "crninv/report.h"
#include "reduce/reduce.h"

namespace {

using namespace crninv;

void BM_WriteReport(benchmark::State& state) {
  const uint32_t S = 1000, R = 1500;
  auto rows = network_rows(S, R, 3);
  Control control;
  Monitor monitor(control, Progress::kReduction);
  reduce(rows.get(), S, R + S, PivotRule::kSmallestMagnitude, monitor);
  // The network's names: species and reactions as a metabolic model has them.
  SparseMatrix n;
  n.columns = R;
  for (uint32_t k = 0; k < S; ++k) n.end_row();
  std::vector<std::string> species(S), reactions(R);
  for (uint32_t k = 0; k < S; ++k) species[k] = "M_species_" + std::to_string(k) + "_c";
  for (uint32_t j = 0; j < R; ++j) reactions[j] = "(reaction " + std::to_string(j + 1) + ")";
  Network network(n, species, reactions);
  Invariants result;
  result.effects = R;
  result.combined = S;
  take_rows(rows.get(), S, &result);
  size_t bytes = 0;
  for (auto _ : state) {
    write_report(network, result, [&](std::string_view piece) { bytes += piece.size(); });
  }
  benchmark::DoNotOptimize(bytes);
  state.SetItemsProcessed(state.iterations() * S);
}
BENCHMARK(BM_WriteReport)->Unit(benchmark::kMillisecond);

}  // namespace
