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
#include <vector>

#include "algebra/arith.h"
#include "algebra/reduce.h"
#include "algebra/report.h"
#include "algebra/row.h"
#include "algebra/row_storage.h"
#include "algebra/semiflow_report.h"
#include "algebra/semiflows.h"
#include "algebra/sparse_matrix.h"
#include "algebra/transpose.h"
#include "algebra/unimodular.h"
#include "algebra/wide_reduce.h"
#include "driver/memory.h"
#include "driver/options.h"
#include "driver/progress.h"
#include "driver/results.h"
#include "reader/lexer.h"
#include "reader/names.h"
#include "reader/parser.h"

namespace {

[[noreturn]] void out_of_memory() {
  clear_progress_line();
  fputs("Out of memory\n", stderr);
  exit(1);
}

// Flushes standard output: 0, or 1 after a message when it failed.
int finish_output() {
  if (fflush(stdout) != 0 || ferror(stdout)) {
    fputs("Couldn't write to standard output\n", stderr);
    return 1;
  }
  return 0;
}

[[noreturn]] void cannot_read(const char* path) {
  fprintf(stderr, "Couldn't read from file %s\n", path);
  exit(1);
}

// Wide reductions throw instead of ending the run on an overflow.
void width_exceeded() {
  throw WidthExceeded();
}

// Whether an entry of m is so large that the product of two would leave 32
// bits.
bool has_large_entry(const SparseMatrix& m) {
  for (int32_t value : m.value) {
    if (magnitude(value) > 46340) return true;
  }
  return false;
}

template <typename RowType>
void write_results(const RowType* rows, uint32_t count, const ReportShape& shape, bool json) {
  if (json) {
    write_json(rows, count, shape);
  } else {
    write_report(rows, count, shape);
  }
}

// Reduces the augmented matrix rows[0..count) (the columns of shape.first,
// then -I) and writes the results. With --wide, where 32 bits do not hold
// the numbers, the rows are given back and the reduction starts again from
// their first state, wider. Without --wide the species report chooses its
// pivots as it always has, since the overflows it meets depend on them (but
// for less fill where no overflow can happen). The report on reactions is
// new, and --wide meets no overflow: both choose their pivots for less fill
// among the small, which on large Petri nets does tens of times less work.
void analyse(Row*& rows, uint32_t count, const ReportShape& shape, const Options& options) {
  uint32_t first = static_cast<uint32_t>(shape.first.size());
  uint32_t n = first + count;
  PivotRule rule = (options.transitions || options.wide)     ? PivotRule::kSmallThenSparse
                   : provably_unimodular(rows, count, first) ? PivotRule::kLeastFill
                                                             : PivotRule::kSmallestMagnitude;
  Progress progress;
  if (!options.wide) {
    reduce(rows, count, n, rule, progress.hook());
    progress.erase();
    write_results(rows, count, shape, options.json);
    return;
  }
  // 32 bits first, as without --wide: the same rows, at the same cost,
  // wherever they suffice; but not when the first products leave them (a
  // biomass reaction scaled to whole numbers).
  SparseMatrix original = sparse_from_rows(rows, count, n);
  bool fits = true;
  set_overflow_handler(width_exceeded);
  try {
    if (has_large_entry(original)) width_exceeded();
    reduce(rows, count, n, rule, progress.hook());
  } catch (const WidthExceeded&) {
    fits = false;
  }
  set_overflow_handler(nullptr);
  if (fits) {
    progress.erase();
    write_results(rows, count, shape, options.json);
    return;
  }
  delete[] rows;
  rows = nullptr;
  reduce_wide(original, n, progress.hook(), [&](const auto* wide_rows, uint32_t reduced) {
    progress.erase();
    write_results(wide_rows, reduced, shape, options.json);
  });
}

// The minimal semiflows of the species (the rows of N) or, with
// --transitions, of the reactions (the rows of N^T), alone on standard
// output. Returns the exit status: 2, with a message and nothing written,
// when --max-semiflows stops the work.
int analyse_semiflows(Row*& rows, uint32_t S, uint32_t R, const ReportShape& shape,
                      const Options& options) {
  SparseMatrix n = sparse_from_rows(rows, S, R);
  delete[] rows;
  rows = nullptr;
  if (options.transitions) n = transposed(n);
  std::vector<Semiflow> semiflows;
  Progress progress;
  SemiflowStatus status =
      minimal_semiflows(n, options.max_semiflows, &semiflows, progress.semiflow_hook());
  progress.erase();
  auto cap = static_cast<unsigned long long>(options.max_semiflows);
  switch (status) {
    case SemiflowStatus::kDone:
      break;
    case SemiflowStatus::kTooMany:
      fprintf(stderr, "More than %llu semiflows: stopped by --max-semiflows\n", cap);
      return 2;
    case SemiflowStatus::kTooManyCandidates:
      fprintf(stderr,
              "More than %llu candidate semiflows on the way: stopped by --max-semiflows "
              "(the minimal semiflows may be fewer)\n",
              cap);
      return 2;
  }
  if (options.json) {
    JsonReport json(shape.first, shape.first_key, shape.second, shape.second_key);
    json.begin(shape.second_key);
    json_semiflows(json, semiflows);
    json.end();
  } else {
    print_semiflows(options.transitions ? kReactionSemiflowsHeading : kSpeciesSemiflowsHeading,
                    semiflows, shape.second);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options = parse_options(argc, argv);
  switch (options.action) {
    case Options::kUsage:
      fprintf(stderr, "Usage: %s infile\n\n", argv[0]);
      return 1;
    case Options::kHelp:
      print_help(argv[0]);
      return finish_output();
    case Options::kVersion:
      print_version();
      return finish_output();
    case Options::kRun:
      break;
  }
  std::set_new_handler(out_of_memory);
  const char* path = options.path;

  Lexer L(path);
  if (!L.is_open()) cannot_read(path);
  SpeciesTable Species;
  ReactionNames Reactions;
  SpeciesNames index2species;
  Parser P(L, Species, Reactions);

  fprintf(stderr, "Reading from %s\nPass 1\n", path);
  uint32_t R = P.parse_all();
  if (L.failed()) cannot_read(path);
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
  account_long_integers();
  Row* rows = new Row[S];
  for (uint32_t k = 0; k < S; ++k) {
    rows[k].resize(R + S);
    rows[k].add(R + k, -1);
  }

  fputs("Pass 2\n", stderr);
  L.rewind();
  if (L.failed()) cannot_read(path);
  P.attach_rows(rows);
  uint32_t again = P.parse_all();
  if (L.failed()) cannot_read(path);
  if (again != R) P.fail_changed();

  Names reaction_names(Reactions.begin(), Reactions.end()), species_names;
  for (const std::string* name : index2species) species_names.push_back(*name);
  ReportShape species_shape{reaction_names,      species_names,       "reactions",        "species",
                            kSpeciesHeadings[0], kSpeciesHeadings[1], kSpeciesHeadings[2]};
  ReportShape reaction_shape{species_names,       reaction_names,       "species",
                             "reactions",         kReactionHeadings[0], kReactionHeadings[1],
                             kReactionHeadings[2]};
  const ReportShape& shape = options.transitions ? reaction_shape : species_shape;
  if (options.semiflows) {
    int status = analyse_semiflows(rows, S, R, shape, options);
    if (status != 0) return status;
  } else if (options.transitions) {
    // One row per reaction instead: the rows of the species go first.
    Row* reaction_rows = new Row[R];
    transpose_augmented(rows, S, R, reaction_rows);
    delete[] rows;
    rows = reaction_rows;
    analyse(rows, R, shape, options);
  } else {
    analyse(rows, S, shape, options);
  }
  // The rows go first, before the locals, on the failed write's path too.
  delete[] rows;
  return finish_output();
}
