// How a computation tells its caller how far it has come, and learns that
// it should stop: the work updates the Progress it holds and calls tick()
// at each unit of work (an elimination, a pair of rays); tick reads the
// clock only every so many units, as many as take about a millisecond, and
// calls the caller's callback every 20 ms.
#ifndef CRNINV_BASE_MONITOR_H_
#define CRNINV_BASE_MONITOR_H_

#include <chrono>
#include <cstdint>

#include "crninv/control.h"

namespace crninv {

class Monitor {
 public:
  // control must outlive the monitor.
  Monitor(const Control& control, Progress::Stage stage);

  void tick() {
    if (countdown != 0 && --countdown == 0) poll();
  }
  // A unit of work that may take a millisecond or far more (a row of long
  // integers rebuilt or checked): the clock is read at each, so that a run
  // of them after many light units does not keep the callback waiting.
  void heavy_tick();
  // The units of work change in kind, and so in cost (a pass over columns,
  // then simplex iterations): the clock is read at the next unit, and how
  // many units pass between readings is learned anew.
  void new_units() {
    if (countdown != 0) countdown = period = 1;
  }
  // The state the callback is shown; the work keeps it current.
  Progress& state() { return shown; }
  // Calls the callback now, whatever the time. Throws Cancelled when it
  // asks to stop.
  void report();

 private:
  void poll();

  const Control& control;
  Progress shown;
  // Units of work until the clock is read again (0: never, no callback),
  // and how many there are between two readings.
  uint64_t countdown = 0, period = 1;
  std::chrono::steady_clock::time_point start, read, called;
};

}  // namespace crninv

#endif  // CRNINV_BASE_MONITOR_H_
