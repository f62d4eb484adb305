// Reading speed: the lexer alone, and the parser's first pass over it.
#include <benchmark/benchmark.h>

#include "bench/bench_networks.h"
#include "reader/lexer.h"
#include "reader/parser.h"

namespace {

using namespace crninv;

const std::string& big_file() {
  static const std::string path = temp_file(network_text(32 << 20, 1));
  return path;
}

void BM_LexerTokens(benchmark::State& state) {
  Lexer lexer(big_file().c_str());
  size_t bytes = 0;
  for (auto _ : state) {
    lexer.rewind();
    while (lexer.token() != TOKEN_EOF) lexer.next_token();
    bytes += 32 << 20;
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_LexerTokens)->Unit(benchmark::kMillisecond);

void BM_ParserFirstPass(benchmark::State& state) {
  Lexer lexer(big_file().c_str());
  size_t bytes = 0;
  for (auto _ : state) {
    SpeciesTable species;
    ReactionNames reactions;
    lexer.rewind();
    Parser parser(lexer, species, reactions);
    benchmark::DoNotOptimize(parser.parse_all());
    bytes += 32 << 20;
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_ParserFirstPass)->Unit(benchmark::kMillisecond);

}  // namespace
