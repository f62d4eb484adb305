// The extension module crninv._crninv, which the package crninv re-exports.
#include "python/module.h"

namespace crninv::python {

namespace {

const char kModuleDoc[] = R"doc(The library of crninv, for the package crninv (import crninv).)doc";

}  // namespace

}  // namespace crninv::python

PYBIND11_MODULE(_crninv, m) {
  using namespace crninv::python;
  m.doc() = kModuleDoc;
  m.attr("__version__") = CRNINV_VERSION;
  bind_errors(m);
  bind_progress(m);
  bind_network(m);
  bind_readers(m);
  bind_rows(m);
  bind_invariants(m);
  bind_moieties(m);
  bind_structure(m);
}
