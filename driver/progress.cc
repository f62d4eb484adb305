#include "driver/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "algebra/arith.h"

namespace {

// The line that an overflow's message must clear first.
Progress* current = nullptr;

}  // namespace

void clear_progress_line() {
  if (current != nullptr) current->erase();
}

Progress::Progress()
    : terminal(isatty(STDERR_FILENO) == 1), start(std::chrono::steady_clock::now()), last(start) {}

ReduceProgress Progress::hook() {
  ReduceProgress hook;
  if (!terminal) return hook;  // nothing to call: nothing can differ
  current = this;
  set_before_fatal_message(clear_progress_line);
  start = last = std::chrono::steady_clock::now();
  hook.report = report;
  hook.context = this;
  return hook;
}

Progress::~Progress() {
  erase();
  if (current == this) {
    current = nullptr;
    set_before_fatal_message(nullptr);
  }
}

void Progress::erase() {
  if (!shown) return;
  fputs("\r\033[K", stderr);
  fflush(stderr);
  shown = false;
}

void Progress::report(void* self, uint32_t columns_done, uint32_t columns, uint32_t pivots,
                      uint32_t rows) {
  static_cast<Progress*>(self)->show(columns_done, columns, pivots, rows);
}

void Progress::show(uint32_t columns_done, uint32_t columns, uint32_t pivots, uint32_t rows) {
  using std::chrono::duration;
  auto now = std::chrono::steady_clock::now();
  double elapsed = duration<double>(now - start).count();
  if (elapsed < 1 || duration<double>(now - last).count() < 0.25) return;
  last = now;
  // The run ends when every column is scanned or every row has its pivot,
  // whichever comes first: the larger share done tells the rest.
  double share = std::max(columns == 0 ? 1.0 : double(columns_done) / columns,
                          rows == 0 ? 1.0 : double(pivots) / rows);
  double rest = share > 0 ? elapsed * (1 - share) / share : 0;
  fprintf(stderr, "\rcolumn %u of %u, %.0f s, about %.0f s left\033[K", columns_done, columns,
          elapsed, rest);
  fflush(stderr);
  shown = true;
}
