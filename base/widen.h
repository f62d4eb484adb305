// The widen-and-retry ladder: a computation tried at one width of integers
// after another. Most matrices that leave 32 bits fit 64, and a restart
// from the input costs less than carrying a wider type through every step
// that did not need it.
#ifndef CRNINV_BASE_WIDEN_H_
#define CRNINV_BASE_WIDEN_H_

#include "base/exact.h"

namespace crninv {

// Runs the steps in turn until one returns: a step that throws
// WidthExceeded gives way to the next, after everything it held is gone.
// The last step's WidthExceeded reaches the caller. A step that should not
// run at all may throw WidthExceeded at once.
template <typename Step>
auto widen(Step step) {
  return step();
}

template <typename Step, typename... Wider>
auto widen(Step step, Wider... wider) {
  try {
    return step();
  } catch (const WidthExceeded&) {
    return widen(wider...);
  }
}

}  // namespace crninv

#endif  // CRNINV_BASE_WIDEN_H_
