#include "tests/test_util.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string temp_dir() {
  static std::string dir = [] {
    char pattern[] = "/tmp/crninv_test_XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    return std::string(pattern);
  }();
  return dir;
}

}  // namespace

std::string write_temp_file(const std::string& contents) {
  static int counter = 0;
  std::string path =
      temp_dir() + "/net" + std::to_string(getpid()) + "_" + std::to_string(counter++) + ".txt";
  std::ofstream out(path, std::ios::binary);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  return path;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string literal_regex(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) result += '\\';
    result += c;
  }
  return result;
}

std::string test_net(const std::string& name) {
  for (const char* dir : {CRNINV_TEST_NETS_DIR, CRNINV_NETS_DIR}) {
    std::string path = std::string(dir) + "/" + name;
    if (FILE* f = fopen(path.c_str(), "r")) {
      fclose(f);
      return path;
    }
  }
  return "";
}

std::vector<std::string> test_nets(std::initializer_list<const char*> names) {
  std::vector<std::string> paths;
  for (const char* name : names) {
    std::string path = test_net(name);
    if (path.empty()) {
      std::printf("skipped %s: not in the tests' networks, and no ../shared/nets\n", name);
    } else {
      paths.push_back(path);
    }
  }
  return paths;
}
