// What the files of the Python module share: the network as Python holds
// it, and the parts of the module each file binds.
#ifndef CRNINV_PYTHON_MODULE_H_
#define CRNINV_PYTHON_MODULE_H_

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "crninv/network.h"

namespace crninv::python {

namespace py = pybind11;

// A network as the module holds it: the library's value, the factor by
// which each reaction's stoichiometries were scaled to whole numbers (empty
// when none was), and its names as Python strings, made once on first use
// and shared by the keys of every result.
class NetworkHandle {
 public:
  explicit NetworkHandle(Network network, std::vector<int32_t> factors = {})
      : value(std::move(network)), scaled(std::move(factors)) {}

  const Network& network() const { return value; }
  const std::vector<int32_t>& factors() const { return scaled; }
  // The names as a list of str; the GIL must be held.
  py::list species_names();
  py::list reaction_names();

 private:
  Network value;
  std::vector<int32_t> scaled;
  py::object species, reactions;  // null until asked for
};

using NetworkPtr = std::shared_ptr<NetworkHandle>;

void bind_errors(py::module_& m);
void bind_network(py::module_& m);
void bind_readers(py::module_& m);
void bind_rows(py::module_& m);
void bind_progress(py::module_& m);
void bind_invariants(py::module_& m);
void bind_moieties(py::module_& m);
void bind_structure(py::module_& m);

}  // namespace crninv::python

#endif  // CRNINV_PYTHON_MODULE_H_
