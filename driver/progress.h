// One updating line on a terminal while a long computation runs.
//
// Shown only when standard error is a terminal, and only once the
// computation has run for about a second: "column 1200 of 45000, 3 s, about
// 20 s left", rewritten in place; for the semiflows, whose end cannot be
// foreseen, "constraint 120 of 8200, 15000 rays, 3 s"; for siphons and
// traps "2400 found, 3 s", for covering "linear program 3 of 12, 3 s". It
// is erased before
// anything else is written, so that a run whose standard error is a file or
// a pipe writes exactly the bytes it always did.
#ifndef CRNINV_DRIVER_PROGRESS_H_
#define CRNINV_DRIVER_PROGRESS_H_

#include <chrono>

#include "crninv/control.h"

class ProgressLine {
 public:
  // Decides once whether standard error is a terminal.
  ProgressLine();
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Makes control call this line, when there is a terminal to show it on.
  void attach(crninv::Control& control);
  // Clears the line, if one is shown.
  void erase();

 private:
  void show(const crninv::Progress& progress);
  // Whether a line is due: a second into the run, a quarter since the last.
  bool due();

  bool terminal;
  bool shown = false;
  std::chrono::steady_clock::time_point start;
  std::chrono::steady_clock::time_point last;
};

#endif  // CRNINV_DRIVER_PROGRESS_H_
