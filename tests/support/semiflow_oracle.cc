#include "tests/support/semiflow_oracle.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

SemiflowList minimal_semiflows_of(const std::string& path, const crninv::Network& network,
                                  bool transitions, uint64_t cap) {
  std::string command = "'" + std::string(CRNINV_BINARY) + "' --semiflows --max-semiflows " +
                        std::to_string(cap) + (transitions ? " --transitions '" : " '") + path +
                        "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[65536];
  size_t got;
  while (pipe && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
  int status = pipe ? pclose(pipe) : -1;
  SemiflowList list;
  list.complete = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!list.complete) return list;
  const auto& names = transitions ? network.reactions() : network.species();
  std::map<std::string, uint32_t> index;
  for (uint32_t i = 0; i < names.size(); ++i) index[names[i]] = i;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);  // the heading
  while (std::getline(lines, line)) {
    std::istringstream terms(line);
    std::string coefficient, name;
    std::vector<uint32_t> support;
    while (terms >> coefficient >> name) support.push_back(index.at(name));
    std::sort(support.begin(), support.end());
    list.supports.push_back(support);
  }
  return list;
}

std::vector<uint32_t> union_of_supports(const SemiflowList& list) {
  std::set<uint32_t> all;
  for (const auto& support : list.supports) all.insert(support.begin(), support.end());
  return std::vector<uint32_t>(all.begin(), all.end());
}
