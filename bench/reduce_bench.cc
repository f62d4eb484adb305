// The whole reduction on generated sparse networks of growing size; the
// growth of time against S shows the cost of fill-in and pivot search.
#include <benchmark/benchmark.h>

#include "bench/bench_networks.h"
#include "reduce/reduce.h"

namespace {

using namespace crninv;

void reduce(Row* rows, uint32_t count, uint32_t n) {
  Control control;
  Monitor monitor(control, Progress::kReduction);
  crninv::reduce(rows, count, n, PivotRule::kSmallestMagnitude, monitor);
}

void BM_Reduce(benchmark::State& state) {
  uint32_t S = static_cast<uint32_t>(state.range(0));
  uint32_t R = S * 3 / 2;
  for (auto _ : state) {
    state.PauseTiming();
    auto rows = network_rows(S, R, 7);
    state.ResumeTiming();
    reduce(rows.get(), S, R + S);
    benchmark::DoNotOptimize(rows[0].get(0));
  }
  state.SetComplexityN(S);
}
BENCHMARK(BM_Reduce)
    ->RangeMultiplier(2)
    ->Range(256, 2048)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
