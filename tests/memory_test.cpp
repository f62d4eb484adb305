// The room that control-group limits leave, read from a made-up cgroup tree.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "base/memory_budget.h"

namespace {

using crninv::cgroup_room;

struct Case {
  const char* self_cgroup;                                 // /proc/self/cgroup
  std::vector<std::pair<std::string, std::string>> files;  // below the mount point
  uint64_t room;
};

TEST(Memory, CgroupRoom) {
  const std::vector<Case> cases = {
      // Version 2: the group's own limit, and one of an ancestor that binds it.
      {"0::/a/b\n", {{"a/b/memory.max", "1000\n"}, {"a/b/memory.current", "300\n"}}, 700},
      {"0::/a/b\n",
       {{"a/memory.max", "500\n"},
        {"a/memory.current", "450\n"},
        {"a/b/memory.max", "max\n"},
        {"a/b/memory.current", "10\n"}},
       50},
      {"0::/a\n", {{"a/memory.max", "100\n"}, {"a/memory.current", "120\n"}}, 0},
      {"0::/\n", {{"memory.max", "64\n"}, {"memory.current", "0\n"}}, 64},
      // Version 1's memory controller, with the other controllers around it.
      {"5:cpu,cpuacct:/\n4:memory:/x\n0::/\n",
       {{"memory/x/memory.limit_in_bytes", "2000\n"}, {"memory/x/memory.usage_in_bytes", "1500\n"}},
       500},
      {"4:memory:/x/y\n",
       {{"memory/memory.limit_in_bytes", "9223372036854771712\n"},
        {"memory/memory.usage_in_bytes", "5000\n"},
        {"memory/x/memory.limit_in_bytes", "3000\n"},
        {"memory/x/memory.usage_in_bytes", "1000\n"}},
       2000},
      // Both hierarchies limit: the smaller room counts.
      {"4:memory:/x\n0::/a\n",
       {{"memory/x/memory.limit_in_bytes", "900\n"}, {"a/memory.max", "300\n"}},
       300},
      // No limit anywhere.
      {"0::/a\n", {{"a/memory.max", "max\n"}}, UINT64_MAX},
      {"", {}, UINT64_MAX},
  };
  for (const Case& c : cases) {
    char pattern[] = "/tmp/crninv_cgroup_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string root = pattern;
    for (const auto& [name, contents] : c.files) {
      std::string path = root + "/" + name;
      for (size_t slash = root.size() + 1; (slash = path.find('/', slash)) != std::string::npos;
           ++slash) {
        mkdir(path.substr(0, slash).c_str(), 0755);
      }
      std::ofstream(path) << contents;
    }
    EXPECT_EQ(cgroup_room(c.self_cgroup, root), c.room) << c.self_cgroup;
    std::string remove = "rm -rf '" + root + "'";
    ASSERT_EQ(system(remove.c_str()), 0);
  }
}

}  // namespace
