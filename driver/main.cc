// crninv: linear invariants of a chemical reaction network.
//
// Reads the network file twice: pass 1 collects the species and counts the
// reactions, pass 2 hands every term to the network being built. The
// library then computes the invariants (or the semiflows), and they are
// printed only once all of it has succeeded. Every error the library
// reports becomes its message here, with exit status 1 (2 for the
// semiflow cap).
#include <cstdint>
#include <cstdio>
#include <new>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "crninv/covering.h"
#include "crninv/errors.h"
#include "crninv/invariants.h"
#include "crninv/moieties.h"
#include "crninv/network.h"
#include "crninv/report.h"
#include "crninv/semiflows.h"
#include "crninv/siphons.h"
#include "crninv/structure.h"
#include "driver/options.h"
#include "driver/progress.h"
#include "reader/lexer.h"
#include "reader/names.h"
#include "reader/parser.h"

using namespace crninv;

namespace {

[[noreturn]] void out_of_memory() {
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

void write_stdout(std::string_view text) {
  fwrite(text.data(), 1, text.size(), stdout);
}

// Each character the lexer skips, told as it is met.
UnexpectedCharacter report_unexpected(const char* path) {
  return [path](uint32_t line, char c) {
    fprintf(stderr, "ERROR (lexer) file %s line %u:\n", path, line);
    fprintf(stderr, "\tIgnoring unexpected character '%c'\n", c);
  };
}

// The analyses of the network's structure, on standard output.
void analyse_structure(const Network& network, const Options& options, const Control& control,
                       ProgressLine& progress) {
  std::string text;
  if (options.structure) {
    Structure s = structure(network, control);
    text = options.json ? structure_json(network, s) : structure_text(network, s);
  } else if (options.covering) {
    Covering c = covering(network, control);
    text = options.json ? covering_json(network, c) : covering_text(network, c);
  } else {
    SiphonOptions choice;
    choice.kind = options.traps ? SiphonOptions::kTraps : SiphonOptions::kSiphons;
    choice.max_count = options.max_siphons;
    choice.threads = options.threads;
    Siphons found = siphons(network, choice, control);
    Persistence criterion;
    if (options.siphons) criterion = persistence(network, found, control);
    const Persistence* shown = options.siphons ? &criterion : nullptr;
    text = options.json ? siphons_report_json(network, found, shown)
                        : siphons_report_text(network, found, shown);
  }
  progress.erase();
  write_stdout(text);
}

// The invariants of the network, or its minimal semiflows, or its
// structure, on standard output. The progress line, if any, is gone before
// anything is written.
void analyse(const Network& network, const Options& options, ProgressLine& progress) {
  Control control;
  control.memory_budget = default_memory_budget();
  progress.attach(control);
  if (options.structural()) {
    analyse_structure(network, options, control, progress);
  } else if (options.moieties) {
    ConservedMoieties result = conserved_moieties(network, control);
    progress.erase();
    (options.json ? write_moieties_json : write_moieties)(network, result, write_stdout);
  } else if (options.semiflows) {
    Semiflows result = semiflows(network, {options.transitions, options.max_semiflows}, control);
    progress.erase();
    (options.json ? write_semiflows_json : write_semiflows)(network, result, write_stdout);
  } else {
    Invariants result = invariants(network, {options.wide, options.transitions}, control);
    progress.erase();
    (options.json ? write_json : write_report)(network, result, write_stdout);
  }
}

// The message and exit status of each error of a run.
int report_error(const std::exception_ptr& error, ProgressLine& progress) {
  progress.erase();
  try {
    std::rethrow_exception(error);
  } catch (const SyntaxError& e) {
    fprintf(stderr, "ERROR (parser) file %s line %u text %s:\n", e.path.c_str(), e.line,
            e.text.c_str());
    fprintf(stderr, "\tExpecting %s\n", e.expected.c_str());
  } catch (const ReadError& e) {
    if (e.kind == ReadError::kChanged) {
      fprintf(stderr, "File %s changed while it was being read\n", e.path.c_str());
    } else {
      fprintf(stderr, "Couldn't read from file %s\n", e.path.c_str());
    }
  } catch (const Overflow& e) {
    fprintf(stderr, "%s\n", e.what());
  } catch (const OutOfMemory&) {
    fputs("Out of memory\n", stderr);
  } catch (const TooManySemiflows& e) {
    auto cap = static_cast<unsigned long long>(e.cap);
    if (e.candidates) {
      fprintf(stderr,
              "More than %llu candidate semiflows on the way: stopped by --max-semiflows "
              "(the minimal semiflows may be fewer)\n",
              cap);
    } else {
      fprintf(stderr, "More than %llu semiflows: stopped by --max-semiflows\n", cap);
    }
    return 2;
  } catch (const TooManySiphons& e) {
    fprintf(stderr, "More than %llu minimal %s: stopped by --max-siphons\n",
            static_cast<unsigned long long>(e.cap), e.traps ? "traps" : "siphons");
    return 2;
  } catch (const std::bad_alloc&) {
    fputs("Out of memory\n", stderr);
  } catch (const std::exception& e) {
    fprintf(stderr, "%s\n", e.what());
  }
  return 1;
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
  ProgressLine progress;
  try {
    Lexer L(path, report_unexpected(path));
    if (!L.is_open()) throw ReadError(ReadError::kCannotRead, path);
    SpeciesTable Species;
    ReactionNames Reactions;
    SpeciesNames index2species;
    Parser P(L, Species, Reactions);

    fprintf(stderr, "Reading from %s\nPass 1\n", path);
    uint32_t R = P.parse_all();
    if (L.failed()) throw ReadError(ReadError::kCannotRead, path);
    uint32_t S = static_cast<uint32_t>(Species.size());
    fprintf(stderr, "There are:\n\t%u species\n\t%u reactions\n", S, R);

    index2species.resize(S, nullptr);
    for (auto it = Species.begin(); it != Species.end(); ++it) {
      index2species[it->second] = &it->first;
    }
    Reactions.resize(R);
    for (uint32_t j = 0; j < R; ++j) {
      std::ostringstream thing;
      thing << "(reaction " << j + 1 << ")";
      Reactions[j] = thing.str();
    }

    // Pass 2: each term goes to the network, whose net changes must fit
    // 32 bits, as the matrix's entries do, unless --wide (or an analysis
    // of the structure or the moieties, whose numbers are exact whatever
    // their size).
    fputs("Pass 2\n", stderr);
    L.rewind();
    if (L.failed()) throw ReadError(ReadError::kCannotRead, path);
    NetworkBuilder builder(options.wide || options.structural() || options.moieties ? 64 : 32);
    P.attach(&builder);
    uint32_t again = P.parse_all();
    if (L.failed()) throw ReadError(ReadError::kCannotRead, path);
    if (again != R) P.fail_changed();

    std::vector<std::string> species_names;
    species_names.reserve(S);
    for (const std::string* name : index2species) species_names.push_back(*name);
    Network network = builder.finish(std::move(species_names), std::move(Reactions));
    analyse(network, options, progress);
  } catch (...) {
    return report_error(std::current_exception(), progress);
  }
  return finish_output();
}
