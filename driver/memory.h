// How much memory the run may still take before the machine runs short.
#ifndef CRNINV_DRIVER_MEMORY_H_
#define CRNINV_DRIVER_MEMORY_H_

#include <cstdint>
#include <string>

// Bytes that can still be allocated without swapping or meeting the
// kernel's out-of-memory killer: the smaller of the system's available
// memory and what the process's control group still allows. UINT64_MAX
// when neither is known.
uint64_t available_memory();

// What the rows of a run may take: the memory available, less a share kept
// for everything else, and no more than the address space still allows.
uint64_t storage_budget();

// The room left under the memory limits of this process's control groups
// and of all their ancestors: self_cgroup is the text of /proc/self/cgroup
// (version 2's "0::/path" and version 1's memory controller are both read),
// fs_root where the cgroup file system is mounted. UINT64_MAX without limit.
uint64_t cgroup_room(const std::string& self_cgroup, const std::string& fs_root);

#endif  // CRNINV_DRIVER_MEMORY_H_
