// How much memory a computation may still take before the machine runs
// short: crninv::default_memory_budget (control.h) and its parts.
#ifndef CRNINV_BASE_MEMORY_BUDGET_H_
#define CRNINV_BASE_MEMORY_BUDGET_H_

#include <cstdint>
#include <string>

namespace crninv {

// Bytes that can still be allocated without swapping or meeting the
// kernel's out-of-memory killer: the smaller of the system's available
// memory and what the process's control group still allows. UINT64_MAX
// when neither is known.
uint64_t available_memory();

// The room left under the memory limits of this process's control groups
// and of all their ancestors: self_cgroup is the text of /proc/self/cgroup
// (version 2's "0::/path" and version 1's memory controller are both read),
// fs_root where the cgroup file system is mounted. UINT64_MAX without limit.
uint64_t cgroup_room(const std::string& self_cgroup, const std::string& fs_root);

}  // namespace crninv

#endif  // CRNINV_BASE_MEMORY_BUDGET_H_
