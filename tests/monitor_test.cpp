// The monitor's reading of the clock when the units of work change cost.
// After millions of light units have stretched the reading period, units
// of milliseconds told as heavy still reach the callback every 20 ms or so,
// where told as light they would wait for a whole period; and after a
// change of units (new_units) the clock is read at the very next unit.
#include "base/monitor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "crninv/errors.h"

namespace {

using crninv::Control;
using crninv::Monitor;
using crninv::Progress;

// Calls of the callback during units of 5 ms, for 0.3 s, after light ones.
int calls_during_slow_units(bool heavy) {
  int calls = 0;
  Control control;
  control.progress = [&](const Progress&) {
    ++calls;
    return true;
  };
  Monitor monitor(control, Progress::kReduction);
  for (uint64_t k = 0; k < 20000000; ++k) monitor.tick();
  calls = 0;
  for (int unit = 0; unit < 60; ++unit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (heavy) {
      monitor.heavy_tick();
    } else {
      monitor.tick();
    }
  }
  return calls;
}

TEST(Monitor, HeavyUnitsReachTheCallbackAfterLightOnes) {
  EXPECT_GE(calls_during_slow_units(true), 3);
  // The fault that heavy ticks are there for.
  EXPECT_LE(calls_during_slow_units(false), 1);
}

TEST(Monitor, HeavyTicksStopTheWork) {
  Control control;
  control.progress = [](const Progress&) { return false; };
  Monitor monitor(control, Progress::kSemiflows);
  std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_THROW(monitor.heavy_tick(), crninv::Cancelled);
  Control silent;
  Monitor quiet(silent, Progress::kSemiflows);
  std::this_thread::sleep_for(std::chrono::milliseconds(25));
  quiet.heavy_tick();  // no callback: nothing to tell
}

TEST(Monitor, NewUnitsReadTheClockAtTheNextTick) {
  crninv::Control control;
  bool stop = false;
  control.progress = [&](const crninv::Progress&) { return !stop; };
  crninv::Monitor monitor(control, crninv::Progress::kCovering);
  // A million units of nothing: the clock is then read only every many
  // thousands of them.
  for (int i = 0; i < 1000000; ++i) monitor.tick();
  stop = true;
  std::this_thread::sleep_for(std::chrono::milliseconds(25));
  // Dear units now (a simplex iteration each): the very next one reads the
  // clock, finds the callback due, and it asks to stop.
  monitor.new_units();
  EXPECT_THROW(monitor.tick(), crninv::Cancelled);
}

TEST(Monitor, NewUnitsWithoutCallbackDoNothing) {
  crninv::Control control;
  crninv::Monitor monitor(control, crninv::Progress::kCovering);
  monitor.new_units();
  EXPECT_NO_THROW(monitor.tick());
  EXPECT_NO_THROW(monitor.report());
}

}  // namespace
