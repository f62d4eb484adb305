#include "driver/options.h"

#include <getopt.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

enum LongOnly {
  kJson = 256,
  kTransitions,
  kSemiflows,
  kMaxSemiflows,
  kStructure,
  kSiphons,
  kTraps,
  kMaxSiphons,
  kThreads,
  kCovering,
  kMoieties
};

const option kOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {"wide", no_argument, nullptr, 'w'},
    {"json", no_argument, nullptr, kJson},
    {"transitions", no_argument, nullptr, kTransitions},
    {"semiflows", no_argument, nullptr, kSemiflows},
    {"max-semiflows", required_argument, nullptr, kMaxSemiflows},
    {"structure", no_argument, nullptr, kStructure},
    {"siphons", no_argument, nullptr, kSiphons},
    {"traps", no_argument, nullptr, kTraps},
    {"max-siphons", required_argument, nullptr, kMaxSiphons},
    {"threads", required_argument, nullptr, kThreads},
    {"covering", no_argument, nullptr, kCovering},
    {"moieties", no_argument, nullptr, kMoieties},
    {nullptr, 0, nullptr, 0},
};

// A count written in decimal digits alone, at least 1.
bool read_count(const char* text, uint64_t* count) {
  if (text[0] < '0' || text[0] > '9') return false;
  char* end;
  errno = 0;
  unsigned long long value = strtoull(text, &end, 10);
  if (*end != '\0' || errno != 0 || value == 0) return false;
  *count = value;
  return true;
}

}  // namespace

Options parse_options(int argc, char** argv) {
  Options options;
  opterr = 0;  // the usage line says it all
  optind = 1;
  bool help = false, version = false;
  for (int c; (c = getopt_long(argc, argv, "hVw", kOptions, nullptr)) != -1;) {
    switch (c) {
      case 'h':
        help = true;
        break;
      case 'V':
        version = true;
        break;
      case 'w':
        options.wide = true;
        break;
      case kJson:
        options.json = true;
        break;
      case kTransitions:
        options.transitions = true;
        break;
      case kSemiflows:
        options.semiflows = true;
        break;
      case kMaxSemiflows:
        if (!read_count(optarg, &options.max_semiflows)) options.action = Options::kUsage;
        break;
      case kStructure:
        options.structure = true;
        break;
      case kSiphons:
        options.siphons = true;
        break;
      case kTraps:
        options.traps = true;
        break;
      case kMaxSiphons:
        if (!read_count(optarg, &options.max_siphons)) options.action = Options::kUsage;
        break;
      case kThreads: {
        uint64_t threads = 0;
        if (!read_count(optarg, &threads) || threads > 1024) options.action = Options::kUsage;
        options.threads = static_cast<unsigned>(threads);
        break;
      }
      case kCovering:
        options.covering = true;
        break;
      case kMoieties:
        options.moieties = true;
        break;
      default:  // an unknown option, or one without its argument
        options.action = Options::kUsage;
        break;
    }
  }
  // One analysis a run: the structural ones and the moieties replace the
  // invariants, and take neither --transitions nor --semiflows nor each
  // other.
  int analyses =
      options.structure + options.siphons + options.traps + options.covering + options.moieties;
  if (analyses > 1 || (analyses == 1 && (options.transitions || options.semiflows))) {
    options.action = Options::kUsage;
  }
  if (options.action == Options::kUsage) return options;
  // As GNU programs do, --help and --version win over everything else.
  if (help) {
    options.action = Options::kHelp;
  } else if (version) {
    options.action = Options::kVersion;
  } else if (argc - optind != 1) {
    options.action = Options::kUsage;
  } else {
    options.path = argv[optind];
  }
  return options;
}

void print_help(const char* program) {
  printf(
      "Usage: %s [OPTION]... FILE\n"
      "Prints the linear invariants of the reaction network in FILE: its conservation laws\n"
      "(flows), the one-signed rows (inequalities) and the mixed rows (irreducible).\n"
      "\n"
      "Options:\n"
      "  -w, --wide             integers as wide as the numbers need: never an overflow\n"
      "      --json             the results as one JSON document on standard output\n"
      "      --transitions      invariants of the reactions: the transposed network\n"
      "      --semiflows        the minimal semi-positive invariants (semiflows)\n"
      "      --max-semiflows N  stop, with exit status 2, past N semiflows or candidates\n"
      "      --structure        complexes, linkage classes, deficiency and what it implies\n"
      "      --siphons          the minimal siphons, and whether the network is persistent\n"
      "      --traps            the minimal traps\n"
      "      --max-siphons N    stop, with exit status 2, past N siphons or traps\n"
      "      --threads N        solvers at once for the siphons or traps (default: one a core)\n"
      "      --covering         what the semiflows cover: conservative, consistent\n"
      "      --moieties         conserved moieties: dependent species and link matrix\n"
      "  -h, --help             print this help and exit\n"
      "  -V, --version          print the version and exit\n"
      "\n"
      "Without options the report has three sections; 'man crninv' tells them all.\n",
      program);
}

void print_version() {
  printf("crninv %s\n", CRNINV_VERSION);
}
