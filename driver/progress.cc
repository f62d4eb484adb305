#include "driver/progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

ProgressLine::ProgressLine()
    : terminal(isatty(STDERR_FILENO) == 1), start(std::chrono::steady_clock::now()), last(start) {}

ProgressLine::~ProgressLine() {
  erase();
}

void ProgressLine::attach(crninv::Control& control) {
  if (!terminal) return;  // nothing to call: nothing can differ
  start = last = std::chrono::steady_clock::now();
  control.progress = [this](const crninv::Progress& progress) {
    show(progress);
    return true;
  };
}

bool ProgressLine::due() {
  using std::chrono::duration;
  auto now = std::chrono::steady_clock::now();
  if (duration<double>(now - start).count() < 1 || duration<double>(now - last).count() < 0.25) {
    return false;
  }
  last = now;
  return true;
}

void ProgressLine::show(const crninv::Progress& p) {
  if (!due()) return;
  double elapsed = std::chrono::duration<double>(last - start).count();
  if (p.stage == crninv::Progress::kReduction) {
    // The run ends when every column is scanned or every row has its
    // pivot, whichever comes first: the larger share done tells the rest.
    double share = std::max(p.steps == 0 ? 1.0 : double(p.step) / p.steps,
                            p.most == 0 ? 1.0 : double(p.found) / p.most);
    double rest = share > 0 ? elapsed * (1 - share) / share : 0;
    fprintf(stderr, "\rcolumn %llu of %llu, %.0f s, about %.0f s left\033[K",
            static_cast<unsigned long long>(p.step), static_cast<unsigned long long>(p.steps),
            elapsed, rest);
  } else if (p.stage == crninv::Progress::kSemiflows) {
    fprintf(stderr, "\rconstraint %llu of %llu, %llu rays, %.0f s\033[K",
            static_cast<unsigned long long>(p.step), static_cast<unsigned long long>(p.steps),
            static_cast<unsigned long long>(p.found), elapsed);
  } else if (p.stage == crninv::Progress::kSiphons) {
    fprintf(stderr, "\r%llu found, %.0f s\033[K", static_cast<unsigned long long>(p.found),
            elapsed);
  } else {
    fprintf(stderr, "\rlinear program %llu of %llu, %.0f s\033[K",
            static_cast<unsigned long long>(p.step), static_cast<unsigned long long>(p.steps),
            elapsed);
  }
  fflush(stderr);
  shown = true;
}

void ProgressLine::erase() {
  if (!shown) return;
  fputs("\r\033[K", stderr);
  fflush(stderr);
  shown = false;
}
