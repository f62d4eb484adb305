#include "convert/programs/command_line.h"

#include <getopt.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The flags with -h and -V after them, as the help lists them.
std::vector<Flag> all_flags(const Program& program) {
  std::vector<Flag> flags = program.flags;
  flags.push_back({'h', "help", "print this help and exit", nullptr});
  flags.push_back({'V', "version", "print the version and exit", nullptr});
  return flags;
}

}  // namespace

void print_help(FILE* out, const Program& program) {
  std::vector<Flag> flags = all_flags(program);
  size_t width = 0;
  for (const Flag& f : flags) width = std::max(width, strlen(f.long_name));
  fprintf(out, "Usage: %s [OPTION]... %s\n%s\n\nOptions:\n", program.name, program.operand,
          program.description);
  for (const Flag& f : flags) {
    std::string left = f.short_name != 0 ? std::string("  -") + f.short_name + ", " : "      ";
    left += "--" + std::string(f.long_name);
    // Two blanks between the longest long form and its text.
    fprintf(out, "%-*s%s\n", static_cast<int>(width + 10), left.c_str(), f.help);
  }
}

int parse_command_line(const Program& program, int argc, char** argv, const char** operand) {
  std::vector<Flag> flags = all_flags(program);
  std::vector<option> options;
  std::string short_options = ":";  // a missing argument is reported as ':'
  for (const Flag& f : flags) {
    // val: the short name, or a value past every char for a long-only flag.
    int val = f.short_name != 0 ? f.short_name : 256 + static_cast<int>(options.size());
    options.push_back({f.long_name, no_argument, nullptr, val});
    if (f.short_name != 0) short_options += f.short_name;
  }
  options.push_back({nullptr, 0, nullptr, 0});

  opterr = 0;
  optind = 0;  // reads argv from its start even when called before
  bool help = false, version = false, invalid = false;
  int c;
  while ((c = getopt_long(argc, argv, short_options.c_str(), options.data(), nullptr)) != -1) {
    auto given = std::find_if(options.begin(), options.end() - 1,
                              [c](const option& o) { return o.val == c; });
    if (c == '?' || c == ':' || given == options.end() - 1) {
      invalid = true;
      continue;
    }
    // The program's flags come first, then help and version.
    size_t index = static_cast<size_t>(given - options.begin());
    if (index < program.flags.size()) {
      *program.flags[index].set = true;
    } else {
      (index == program.flags.size() ? help : version) = true;
    }
  }
  if (invalid) {
    fprintf(stderr, "%s\n", program.usage);
    return 1;
  }
  if (help) {
    print_help(stdout, program);
    return 0;
  }
  if (version) {
    printf("%s %s\n", program.name, CRNINV_VERSION);
    return 0;
  }
  if (argc - optind != 1) {
    fprintf(stderr, "%s\n", program.usage);
    return 1;
  }
  *operand = argv[optind];
  return -1;
}
