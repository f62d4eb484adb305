// The converters' command line: flags anywhere, one operand, and what
// ends the program before it runs.
#include "convert/programs/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Parsed {
  int status;
  std::string operand;
  bool keep, leave;
};

Parsed parse(std::vector<std::string> args) {
  Parsed p{0, "", false, false};
  Program program{"prog",
                  "FILE",
                  "Does things.",
                  "Usage: prog FILE",
                  {{0, "keep", "keep things", &p.keep}, {'l', "leave", "leave things", &p.leave}}};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  const char* operand = nullptr;
  p.status = parse_command_line(program, static_cast<int>(args.size()), argv.data(), &operand);
  if (operand != nullptr) p.operand = operand;
  return p;
}

TEST(CommandLine, FlagsInAnyOrderAroundTheOperand) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* operand;
    bool keep, leave;
  } cases[] = {
      {{"prog", "f.xml"}, -1, "f.xml", false, false},
      {{"prog", "--keep", "f.xml"}, -1, "f.xml", true, false},
      {{"prog", "f.xml", "--keep", "-l"}, -1, "f.xml", true, true},
      {{"prog", "--leave", "--", "-f.xml"}, -1, "-f.xml", false, true},
      {{"prog", "-"}, -1, "-", false, false},
      {{"prog", "--help", "f.xml"}, 0, "", false, false},
      {{"prog", "-V"}, 0, "", false, false},
      {{"prog"}, 1, "", false, false},
      {{"prog", "a", "b"}, 1, "", false, false},
      {{"prog", "-x", "f.xml"}, 1, "", false, false},
      {{"prog", "--kee", "f.xml"}, -1, "f.xml", true, false},
      {{"prog", "--keep=1", "f.xml"}, 1, "", false, false},
      {{"prog", "--help", "--bogus"}, 1, "", false, false},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const std::string& a : c.args) line += a + " ";
    Parsed p = parse(c.args);
    EXPECT_EQ(p.status, c.status) << line;
    EXPECT_EQ(p.operand, c.operand) << line;
    EXPECT_EQ(p.keep, c.keep) << line;
    EXPECT_EQ(p.leave, c.leave) << line;
  }
}

}  // namespace
