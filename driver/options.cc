#include "driver/options.h"

#include <getopt.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

enum LongOnly { kJson = 256, kTransitions, kSemiflows, kMaxSemiflows };

const option kOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {"wide", no_argument, nullptr, 'w'},
    {"json", no_argument, nullptr, kJson},
    {"transitions", no_argument, nullptr, kTransitions},
    {"semiflows", no_argument, nullptr, kSemiflows},
    {"max-semiflows", required_argument, nullptr, kMaxSemiflows},
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
      default:  // an unknown option, or one without its argument
        options.action = Options::kUsage;
        break;
    }
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
      "  -h, --help             print this help and exit\n"
      "  -V, --version          print the version and exit\n"
      "\n"
      "Without options the report has three sections; 'man crninv' tells them all.\n",
      program);
}

void print_version() {
  printf("crninv %s\n", CRNINV_VERSION);
}
