// One updating line on a terminal while a long reduction runs.
//
// Shown only when standard error is a terminal, and only once the
// reduction has run for about a second: "column 1200 of 45000, 3 s, about
// 20 s left", rewritten in place; for the semiflows, whose end cannot be
// foreseen, "constraint 120 of 8200, 15000 rays, 3 s". It is erased before anything else is
// written, so that a run whose standard error is a file or a pipe writes
// exactly the bytes it always did.
#ifndef CRNINV_DRIVER_PROGRESS_H_
#define CRNINV_DRIVER_PROGRESS_H_

#include <chrono>
#include <cstdint>

#include "algebra/reduce.h"
#include "algebra/semiflows.h"

class Progress {
 public:
  // Decides once whether standard error is a terminal.
  Progress();
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // What the reduction calls.
  ReduceProgress hook();
  // What the semiflow computation calls.
  SemiflowProgress semiflow_hook();
  // Clears the line, if one is shown.
  void erase();

 private:
  static void report(void* self, uint32_t columns_done, uint32_t columns, uint32_t pivots,
                     uint32_t rows);
  void show(uint32_t columns_done, uint32_t columns, uint32_t pivots, uint32_t rows);
  static void report_semiflows(void* self, uint32_t imposed, uint32_t constraints, uint64_t rays);
  // Whether a line is due: a second into the run, a quarter since the last.
  bool due();
  // Starts the clock and makes this the line that fatal messages clear.
  void begin();

  bool terminal;
  bool shown = false;
  std::chrono::steady_clock::time_point start;
  std::chrono::steady_clock::time_point last;
};

// Clears the line of the Progress now showing one, if any: for messages
// that end the run from elsewhere.
void clear_progress_line();

#endif  // CRNINV_DRIVER_PROGRESS_H_
