// What a caller controls of a long computation: the memory it may hold,
// and a callback told now and then how far it has come, which can also
// ask it to stop.
#ifndef CRNINV_INCLUDE_CRNINV_CONTROL_H_
#define CRNINV_INCLUDE_CRNINV_CONTROL_H_

#include <cstdint>
#include <functional>

namespace crninv {

struct Progress {
  enum Stage {
    kReduction,  // step: columns scanned of steps; found: pivots of most (the rows)
    kSemiflows,  // step: constraints imposed of steps (in the part at hand); found: rays held
    kSiphons,    // step: branches taken; found: siphons or traps found so far
    kCovering,   // step: linear programs solved of steps
  };
  Stage stage = kReduction;
  uint64_t step = 0, steps = 0;
  uint64_t found = 0, most = 0;
  double seconds = 0;  // since the computation began
};

struct Control {
  // Bytes that the computation's own data (rows, vectors, long integers)
  // may hold at once; past it the call throws OutOfMemory. No limit by
  // default; default_memory_budget() gives what the machine can spare.
  uint64_t memory_budget = UINT64_MAX;
  // Called from the computing thread at least every tenth of a second of
  // work (about every 20 ms), never from another; returning false stops the
  // work, and the call throws Cancelled. May be empty.
  std::function<bool(const Progress&)> progress;
};

// Bytes that can still be allocated without swapping or meeting the
// kernel's out-of-memory killer, less a share kept for everything else:
// the smaller of the system's available memory, what this process's
// control groups still allow, and what its address-space limit leaves.
uint64_t default_memory_budget();

}  // namespace crninv

#endif  // CRNINV_INCLUDE_CRNINV_CONTROL_H_
