// The monitor's callback stays on time when the units of work change cost:
// after millions of light units have stretched the clock's reading period,
// units of milliseconds told as heavy still reach the callback every 20 ms
// or so, where told as light they would wait for a whole period.
#include "base/monitor.h"
#include "crninv/errors.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

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

}  // namespace
