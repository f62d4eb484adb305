#include "base/monitor.h"

#include "crninv/errors.h"

namespace crninv {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kCallEvery = std::chrono::milliseconds(20);
// The clock is read about this often: often enough for the callback to be
// on time, seldom enough to cost nothing beside the work.
constexpr auto kReadAtLeast = std::chrono::microseconds(500);
constexpr auto kReadAtMost = std::chrono::milliseconds(2);

}  // namespace

Monitor::Monitor(const Control& control, Progress::Stage stage)
    : control(control), start(Clock::now()), read(start), called(start) {
  shown.stage = stage;
  if (control.progress) countdown = 1;
}

void Monitor::poll() {
  Clock::time_point now = Clock::now();
  // The period follows the cost of a unit: units of a microsecond are
  // counted in thousands, units of a second one by one.
  auto since = now - read;
  if (since < kReadAtLeast && period < (uint64_t{1} << 40)) {
    period *= 2;
  } else if (since > kReadAtMost && period > 1) {
    period /= 2;
  }
  read = now;
  countdown = period;
  if (now - called >= kCallEvery) report();
}

void Monitor::heavy_tick() {
  if (countdown == 0) return;
  Clock::time_point now = Clock::now();
  read = now;
  if (now - called >= kCallEvery) report();
}

void Monitor::report() {
  if (!control.progress) return;
  called = Clock::now();
  shown.seconds = std::chrono::duration<double>(called - start).count();
  if (!control.progress(shown)) throw Cancelled();
}

}  // namespace crninv
