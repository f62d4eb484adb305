// A call of the library from Python: the GIL released while it computes,
// and the library's progress callback, run with the GIL taken, checking
// for signals (Ctrl-C) and calling the caller's progress function. A
// pending KeyboardInterrupt, or an exception of the caller's function,
// stops the work through the library's cancellation and is raised once the
// call has unwound.
#ifndef CRNINV_PYTHON_CONTROL_H_
#define CRNINV_PYTHON_CONTROL_H_

#include <cstdint>
#include <memory>
#include <optional>

#include "crninv/control.h"
#include "crninv/errors.h"
#include "python/module.h"

namespace crninv::python {

// What the caller passed: progress= (None, True for a bar, or a callable
// given a Progress, returning False to stop) and memory_budget= (bytes, or
// None for what the machine can spare).
struct CallOptions {
  py::object progress = py::none();
  std::optional<uint64_t> memory_budget;
};

class PythonControl {
 public:
  explicit PythonControl(const CallOptions& options);
  ~PythonControl();
  PythonControl(const PythonControl&) = delete;
  PythonControl& operator=(const PythonControl&) = delete;

  const Control& control() const { return value; }
  // After Cancelled: raises what stopped the work, if Python stopped it.
  void raise_pending();

 private:
  bool report(const Progress& progress);

  Control value;
  py::object callback;  // None, or what report calls
  bool bar = false;     // callback is the module's own bar, closed at the end
  std::unique_ptr<py::error_already_set> pending;
};

// Runs work(control) without the GIL; the GIL must be held by the caller.
template <typename Work>
auto run(const CallOptions& options, Work work) {
  PythonControl control(options);
  try {
    py::gil_scoped_release release;
    return work(control.control());
  } catch (const Cancelled&) {
    control.raise_pending();
    throw;
  }
}

}  // namespace crninv::python

#endif  // CRNINV_PYTHON_CONTROL_H_
