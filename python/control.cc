#include "python/control.h"

#include <utility>

namespace crninv::python {

PythonControl::PythonControl(const CallOptions& options) : callback(options.progress) {
  value.memory_budget = options.memory_budget ? *options.memory_budget : default_memory_budget();
  if (callback.ptr() == Py_True) {
    callback = py::module_::import("crninv._progress").attr("Bar")();
    bar = true;
  } else if (!callback.is_none() && !PyCallable_Check(callback.ptr())) {
    throw py::type_error("progress must be None, True or a callable");
  }
  value.progress = [this](const Progress& p) { return report(p); };
}

PythonControl::~PythonControl() {
  if (!bar) return;
  try {
    callback.attr("close")();
  } catch (py::error_already_set& e) {
    e.discard_as_unraisable("closing the progress bar");
  }
}

bool PythonControl::report(const Progress& progress) {
  py::gil_scoped_acquire gil;
  try {
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    if (callback.is_none()) return true;
    return callback(progress).ptr() != Py_False;
  } catch (py::error_already_set& e) {
    pending = std::make_unique<py::error_already_set>(std::move(e));
    return false;
  }
}

void PythonControl::raise_pending() {
  if (!pending) return;
  py::error_already_set error = std::move(*pending);
  pending.reset();
  throw error;
}

namespace {

const char* stage_name(Progress::Stage stage) {
  switch (stage) {
    case Progress::kReduction:
      return "reduction";
    case Progress::kSemiflows:
      return "semiflows";
    case Progress::kSiphons:
      return "siphons";
    case Progress::kCovering:
      return "covering";
  }
  return "";
}

}  // namespace

void bind_progress(py::module_& m) {
  py::class_<Progress>(m, "Progress",
                       R"doc(How far a computation has come, as a progress= callback sees it.

stage: "reduction" (step: columns scanned of steps; found: pivots of most),
"semiflows" (step: constraints imposed of steps; found: rays held),
"siphons" (step: branches taken; found: sets so far) or "covering" (step:
linear programs solved of steps); seconds since the computation began.)doc")
      .def_property_readonly(
          "stage", [](const Progress& p) { return stage_name(p.stage); },
          "The computation under way: reduction, semiflows, siphons or covering.")
      .def_readonly("step", &Progress::step, "How far it has come, of steps.")
      .def_readonly("steps", &Progress::steps, "The steps of the stage (0 when unknown).")
      .def_readonly("found", &Progress::found, "What it has found so far.")
      .def_readonly("most", &Progress::most, "The most it can find (0 when unknown).")
      .def_readonly("seconds", &Progress::seconds, "Seconds since the computation began.")
      .def("__repr__", [](const Progress& p) {
        return std::string("Progress(stage='") + stage_name(p.stage) +
               "', step=" + std::to_string(p.step) + ", steps=" + std::to_string(p.steps) +
               ", found=" + std::to_string(p.found) + ", most=" + std::to_string(p.most) +
               ", seconds=" + std::to_string(p.seconds) + ")";
      });
}

}  // namespace crninv::python
