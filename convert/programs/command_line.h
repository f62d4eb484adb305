// The command line of the project's programs, GNU style: flags in short
// (-h) and long (--help) form, in any order with the one operand, and the
// same help layout in every program.
#ifndef CRNINV_CONVERT_PROGRAMS_COMMAND_LINE_H_
#define CRNINV_CONVERT_PROGRAMS_COMMAND_LINE_H_

#include <cstdio>
#include <vector>

// A flag that the program reads. -h/--help and -V/--version are always
// there and need no entry.
struct Flag {
  char short_name;        // 0: the flag has only its long form
  const char* long_name;  // without the leading "--"
  const char* help;       // one line, lower case, no full stop
  bool* set;              // made true when the flag is given
};

struct Program {
  const char* name;         // "sbml2crn"
  const char* operand;      // what the operand is, in the usage line: "FILE"
  const char* description;  // one sentence, the second line of the help
  const char* usage;        // the whole line printed for an invalid command line
  std::vector<Flag> flags;
};

// Writes the help: "Usage: NAME [OPTION]... OPERAND", the description, a
// blank line, "Options:" and one line per flag, texts aligned.
void print_help(FILE* out, const Program& program);

// Reads argv. Returns -1 when the program is to run: *operand is then the
// one operand and the flags given are set. Otherwise the help, the version
// or the usage line has been printed and the return value is the exit
// status: 0 after --help and --version, 1 for an unknown flag or a missing
// or extra operand.
int parse_command_line(const Program& program, int argc, char** argv, const char** operand);

#endif  // CRNINV_CONVERT_PROGRAMS_COMMAND_LINE_H_
