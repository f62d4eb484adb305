#include "base/memory_budget.h"

#include <sys/resource.h>

#include <cstdio>
#include <string>

#include "crninv/control.h"

namespace crninv {

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

// The room left under the limit of the group at path (below root) and under
// the limits of all its ancestors, which bind it as well.
uint64_t group_room(const std::string& root, std::string path, const char* limit_file,
                    const char* usage_file) {
  uint64_t room = UINT64_MAX;
  for (;;) {
    std::string dir = root + path + "/";
    uint64_t limit = read_number(dir + limit_file);
    if (limit != UINT64_MAX) {
      uint64_t used = read_number(dir + usage_file);
      if (used == UINT64_MAX) used = 0;
      uint64_t left = used < limit ? limit - used : 0;
      if (left < room) room = left;
    }
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) break;
    path.erase(slash);  // "/a/b" -> "/a" -> "" (the root) -> done
  }
  return room;
}

}  // namespace

uint64_t cgroup_room(const std::string& self_cgroup, const std::string& fs_root) {
  uint64_t room = UINT64_MAX;
  size_t begin = 0;
  while (begin < self_cgroup.size()) {
    size_t end = self_cgroup.find('\n', begin);
    if (end == std::string::npos) end = self_cgroup.size();
    std::string line = self_cgroup.substr(begin, end - begin);
    begin = end + 1;
    // "id:controllers:path"; the unified hierarchy (version 2) has id 0 and
    // no controllers, version 1 has a memory controller of its own.
    size_t first = line.find(':');
    size_t second = first == std::string::npos ? first : line.find(':', first + 1);
    if (second == std::string::npos) continue;
    std::string controllers = "," + line.substr(first + 1, second - first - 1) + ",";
    std::string path = line.substr(second + 1);
    if (path == "/") path.clear();
    uint64_t left = UINT64_MAX;
    if (line.compare(0, 3, "0::") == 0) {
      left = group_room(fs_root, path, "memory.max", "memory.current");
    } else if (controllers.find(",memory,") != std::string::npos) {
      left =
          group_room(fs_root + "/memory", path, "memory.limit_in_bytes", "memory.usage_in_bytes");
    }
    if (left < room) room = left;
  }
  return room;
}

uint64_t available_memory() {
  std::string self_cgroup;
  if (FILE* f = fopen("/proc/self/cgroup", "r")) {
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) self_cgroup.append(chunk, n);
    fclose(f);
  }
  uint64_t system = system_available();
  uint64_t group = cgroup_room(self_cgroup, "/sys/fs/cgroup");
  return system < group ? system : group;
}

namespace {

// Address space left under the limit of setrlimit (ulimit -v), or
// UINT64_MAX without one.
uint64_t address_space_room() {
  rlimit limit;
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return UINT64_MAX;
  unsigned long long pages = 0;
  if (FILE* f = fopen("/proc/self/statm", "r")) {
    if (fscanf(f, "%llu", &pages) != 1) pages = 0;
    fclose(f);
  }
  uint64_t used = static_cast<uint64_t>(pages) * 4096;
  return used < limit.rlim_cur ? limit.rlim_cur - used : 0;
}

}  // namespace

uint64_t default_memory_budget() {
  uint64_t room = available_memory();
  uint64_t space = address_space_room();
  if (space < room) room = space;
  // Beside the rows, the reduction keeps lists of a few bytes per entry.
  return room == UINT64_MAX ? room : room / 8 * 7;
}

}  // namespace crninv
