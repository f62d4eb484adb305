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

void Progress::begin() {
  current = this;
  set_before_fatal_message(clear_progress_line);
  start = last = std::chrono::steady_clock::now();
}

ReduceProgress Progress::hook() {
  ReduceProgress hook;
  if (!terminal) return hook;  // nothing to call: nothing can differ
  begin();
  hook.report = report;
  hook.context = this;
  return hook;
}

SemiflowProgress Progress::semiflow_hook() {
  SemiflowProgress hook;
  if (!terminal) return hook;
  begin();
  hook.report = report_semiflows;
  hook.context = this;
  return hook;
}

bool Progress::due() {
  using std::chrono::duration;
  auto now = std::chrono::steady_clock::now();
  if (duration<double>(now - start).count() < 1 || duration<double>(now - last).count() < 0.25) {
    return false;
  }
  last = now;
  return true;
}

void Progress::report_semiflows(void* self, uint32_t imposed, uint32_t constraints, uint64_t rays) {
  auto* progress = static_cast<Progress*>(self);
  if (!progress->due()) return;
  double elapsed = std::chrono::duration<double>(progress->last - progress->start).count();
  fprintf(stderr, "\rconstraint %u of %u, %llu rays, %.0f s\033[K", imposed, constraints,
          static_cast<unsigned long long>(rays), elapsed);
  fflush(stderr);
  progress->shown = true;
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
  if (!due()) return;
  double elapsed = std::chrono::duration<double>(last - start).count();
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
