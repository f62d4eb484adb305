// The monitor's reading of the clock: after a change of units it reads
// the clock at the next unit, however many cheap units came before.
#include "base/monitor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "crninv/errors.h"

namespace {

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
