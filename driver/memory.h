// How much memory the run may still take before the machine runs short.
#ifndef CRNINV_DRIVER_MEMORY_H_
#define CRNINV_DRIVER_MEMORY_H_

#include <cstdint>

// Bytes that can still be allocated without swapping or meeting the
// kernel's out-of-memory killer: the smaller of the system's available
// memory and what the process's control group still allows. UINT64_MAX
// when neither is known.
uint64_t available_memory();

#endif  // CRNINV_DRIVER_MEMORY_H_
