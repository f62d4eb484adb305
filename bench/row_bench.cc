// One elimination step and normalization on long rows, sparse and dense.
#include <benchmark/benchmark.h>

#include <random>

#include "rows/row.h"

namespace {

using namespace crninv;

// A row of n entries of which every spread-th is nonzero (small values).
void fill(Row& row, uint32_t n, uint32_t spread, uint32_t seed) {
  std::mt19937 random(seed);
  row.resize(n);
  for (uint32_t i = 0; i < n; i += spread) row.add(i, static_cast<int32_t>(random() % 7) - 3);
  row.add(0, 3);  // the elimination column is nonzero in both rows
}

void BM_Eliminate(benchmark::State& state) {
  uint32_t n = static_cast<uint32_t>(state.range(0));
  uint32_t spread = static_cast<uint32_t>(state.range(1));
  Row pivot, row;
  Row::Workspace work;
  fill(pivot, n, spread, 1);
  for (auto _ : state) {
    state.PauseTiming();
    fill(row, n, spread, 2);
    state.ResumeTiming();
    row.eliminate(0, pivot, work);
    benchmark::DoNotOptimize(row.get(1));
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Eliminate)->Args({4096, 1})->Args({4096, 8})->Args({4096, 100})->Args({32768, 1000});

void BM_NormalizeNegate(benchmark::State& state) {
  uint32_t n = static_cast<uint32_t>(state.range(0));
  Row row;
  row.resize(n);
  for (uint32_t i = 0; i < n; ++i) row.add(i, i % 3 == 0 ? -1 : 2);
  for (auto _ : state) {
    row.normalize();  // flips every sign each time
    benchmark::DoNotOptimize(row.get(0));
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_NormalizeNegate)->Arg(4096);

}  // namespace
