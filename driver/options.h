// The command line: GNU-style options and the one network file.
//
// With exactly one argument that is not an option, the run is the one the
// tool has always made. Any command line that is not valid gets the usage
// line the tool has always printed.
#ifndef CRNINV_DRIVER_OPTIONS_H_
#define CRNINV_DRIVER_OPTIONS_H_

#include <cstdint>

struct Options {
  enum Action { kRun, kHelp, kVersion, kUsage };
  Action action = kRun;
  const char* path = nullptr;  // the network file
  bool wide = false;           // integers as wide as the numbers need
  bool json = false;           // one JSON document instead of the report
  bool transitions = false;    // the transposed network: invariants of reactions
  bool semiflows = false;      // the minimal semi-positive invariants
  uint64_t max_semiflows = UINT64_MAX;
  bool structure = false;  // complexes, classes, deficiency, theorems
  bool siphons = false;    // the minimal siphons and the persistence criterion
  bool traps = false;      // the minimal traps
  uint64_t max_siphons = UINT64_MAX;
  unsigned threads = 0;   // solvers at once for the siphons; 0: one a core
  bool covering = false;  // covering by semiflows
  bool moieties = false;  // conserved moieties: dependent species, link matrix

  // Whether the run is one of the analyses of the network's structure,
  // which read net changes of any size.
  bool structural() const { return structure || siphons || traps || covering; }
};

// Reads argv; never exits and writes nothing.
Options parse_options(int argc, char** argv);

// The texts of --help and --version, for standard output.
void print_help(const char* program);
void print_version();

#endif  // CRNINV_DRIVER_OPTIONS_H_
