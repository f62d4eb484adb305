// The whole reduction on generated sparse networks of growing size; the
// growth of time against S shows the cost of fill-in and pivot search.
#include <benchmark/benchmark.h>

#include "reduce/reduce.h"
#include "bench/bench_networks.h"

namespace {

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
