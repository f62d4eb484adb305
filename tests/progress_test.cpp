// The progress line: shown on a terminal during a long reduction, erased
// before anything else is written, and never shown elsewhere.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "tests/test_util.h"

namespace {

using namespace crninv;

// One reaction making n species, one of them twice: every species column
// clears every row still waiting, n * n / 2 eliminations in a few seconds,
// with a short report.
std::string star(int n) {
  std::string text = "-> 2 X1";
  for (int k = 2; k <= n; ++k) text += " + X" + std::to_string(k);
  return text + ";\n";
}

// Runs the tool with its standard error on a terminal and its standard
// output into a file; returns what the terminal showed.
// options come before the input.
std::string run_on_terminal(const std::string& input, const std::string& out_path, int* status,
                            std::vector<std::string> options = {}) {
  options.push_back(input);
  std::vector<char*> argv{const_cast<char*>("crninv")};
  for (std::string& option : options) argv.push_back(option.data());
  argv.push_back(nullptr);
  int master;
  pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0) {
    if (freopen(out_path.c_str(), "w", stdout) == nullptr) _exit(127);
    execv(CRNINV_BINARY, argv.data());
    _exit(127);
  }
  std::string shown;
  char chunk[4096];
  ssize_t n;
  while ((n = read(master, chunk, sizeof chunk)) > 0) shown.append(chunk, static_cast<size_t>(n));
  close(master);
  waitpid(pid, status, 0);
  return shown;
}

TEST(Progress, ShownOnATerminalAndErasedBeforeTheEnd) {
  std::string input = write_temp_file(star(6000));
  std::string out = write_temp_file("");
  int status = 0;
  std::string shown = run_on_terminal(input, out, &status);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // The terminal turns each line feed into a carriage return and a line
  // feed.
  std::regex line("\rcolumn [0-9]+ of 6001, [0-9]+ s, about [0-9]+ s left\033\\[K");
  EXPECT_TRUE(std::regex_search(shown, line)) << shown;
  const std::string erase = "\r\033[K";
  ASSERT_GE(shown.size(), erase.size());
  EXPECT_EQ(shown.substr(shown.size() - erase.size()), erase);
  // Without the lines, exactly what a file would have received.
  std::string without = std::regex_replace(shown, std::regex("\r(column [^\033]*)?\033\\[K"), "");
  EXPECT_EQ(without, "Reading from " + input + "\r\nPass 1\r\nThere are:\r\n\t6000 species\r\n" +
                         "\t1 reactions\r\nPass 2\r\n");
  EXPECT_EQ(read_file(out).substr(0, 21), "Flows (== constant):\n");
}

// The semiflows of this net pass 8,000 candidates after a few seconds of
// long steps: the line shows them, and is gone before the cap's message.
TEST(Progress, SemiflowsShownAndErasedBeforeTheCapsMessage) {
  std::string input = CRNINV_TEST_NETS_DIR "/mcc/Anderson-PT-11.net";
  std::string out = write_temp_file("");
  int status = 0;
  std::string shown =
      run_on_terminal(input, out, &status, {"--semiflows", "--max-semiflows", "8000"});
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  std::regex line("\rconstraint [0-9]+ of 724, [0-9]+ rays, [0-9]+ s\033\\[K");
  EXPECT_TRUE(std::regex_search(shown, line)) << shown;
  std::string without =
      std::regex_replace(shown, std::regex("\r(constraint [^\033]*)?\033\\[K"), "");
  EXPECT_EQ(without, "Reading from " + input + "\r\nPass 1\r\nThere are:\r\n\t749 species\r\n" +
                         "\t3245 reactions\r\nPass 2\r\nMore than 8000 candidate semiflows on " +
                         "the way: stopped by --max-semiflows (the minimal semiflows may be " +
                         "fewer)\r\n");
  EXPECT_EQ(read_file(out), "");
}

}  // namespace
