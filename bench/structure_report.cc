// structure_report [--json] FILE: the structure report of a network file
// on standard output, read by the tests' plain reader until crninv has
// --structure. With --seconds, the time of the computation alone on
// standard error. For bench/structure_check.py and whole-process timings.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "crninv/structure.h"
#include "crninv/text_format.h"

int main(int argc, char** argv) {
  bool json = false, seconds = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--json") == 0) {
      json = true;
    } else if (std::strcmp(argv[i], "--seconds") == 0) {
      seconds = true;
    } else {
      path = argv[i];
    }
  }
  if (path == nullptr) {
    std::fputs("Usage: structure_report [--json] [--seconds] FILE\n", stderr);
    return 1;
  }
  try {
    crninv::Network network = crninv::read_network(path);
    auto start = std::chrono::steady_clock::now();
    crninv::Structure s = crninv::structure(network);
    std::string out =
        json ? crninv::structure_json(network, s) : crninv::structure_text(network, s);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (seconds) std::fprintf(stderr, "structure: %.4f s\n", took.count());
    std::fwrite(out.data(), 1, out.size(), stdout);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
