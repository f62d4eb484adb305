#include "driver/memory.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The value of "MemAvailable:" in /proc/meminfo, in bytes.
uint64_t system_available() {
  FILE* f = fopen("/proc/meminfo", "r");
  if (f == nullptr) return UINT64_MAX;
  char line[256];
  uint64_t result = UINT64_MAX;
  while (fgets(line, sizeof line, f) != nullptr) {
    unsigned long long kib;
    if (sscanf(line, "MemAvailable: %llu kB", &kib) == 1) {
      result = static_cast<uint64_t>(kib) * 1024;
      break;
    }
  }
  fclose(f);
  return result;
}

// A single number from a control-group file, or UINT64_MAX ("max", absent).
uint64_t read_number(const std::string& path) {
  FILE* f = fopen(path.c_str(), "r");
  if (f == nullptr) return UINT64_MAX;
  unsigned long long value;
  uint64_t result = fscanf(f, "%llu", &value) == 1 ? value : UINT64_MAX;
  fclose(f);
  return result;
}

// The directory of this process's cgroup v2 ("0::/path" in /proc/self/cgroup).
std::string cgroup_dir() {
  FILE* f = fopen("/proc/self/cgroup", "r");
  if (f == nullptr) return "";
  char line[4096];
  std::string dir;
  while (fgets(line, sizeof line, f) != nullptr) {
    if (strncmp(line, "0::", 3) == 0) {
      dir = line + 3;
      while (!dir.empty() && dir.back() == '\n') dir.pop_back();
      break;
    }
  }
  fclose(f);
  return "/sys/fs/cgroup" + dir;
}

uint64_t cgroup_available() {
  std::string dir = cgroup_dir();
  uint64_t limit = read_number(dir + "/memory.max");
  if (limit == UINT64_MAX) return UINT64_MAX;
  uint64_t used = read_number(dir + "/memory.current");
  if (used == UINT64_MAX) used = 0;
  return used < limit ? limit - used : 0;
}

}  // namespace

uint64_t available_memory() {
  uint64_t system = system_available();
  uint64_t group = cgroup_available();
  return system < group ? system : group;
}
