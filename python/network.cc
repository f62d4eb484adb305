// crninv.Network: built from a matrix (a list of lists, a NumPy array or a
// scipy.sparse matrix, made compressed rows by crninv._matrix), its names,
// and N as a scipy.sparse matrix on request.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <string>
#include <utility>
#include <vector>

#include "python/module.h"

namespace crninv::python {

namespace {

py::list names_of(const std::vector<std::string>& names) {
  py::list list(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    PyObject* s = PyUnicode_DecodeUTF8(names[i].data(), static_cast<Py_ssize_t>(names[i].size()),
                                       "surrogateescape");
    if (s == nullptr) throw py::error_already_set();
    PyList_SET_ITEM(list.ptr(), static_cast<Py_ssize_t>(i), s);
  }
  return list;
}

py::list copy(const py::list& list) {
  return py::reinterpret_steal<py::list>(PySequence_List(list.ptr()));
}

template <typename T>
using Array = py::array_t<T, py::array::c_style | py::array::forcecast>;

template <typename T>
std::vector<T> vector_of(const Array<T>& a) {
  const T* data = a.data();
  return std::vector<T>(data, data + a.size());
}

// The names given, checked by crninv._matrix.names; else "(what 1)", ...
std::vector<std::string> names(const py::module_& convert, const py::object& given, uint32_t count,
                               const char* what) {
  if (!given.is_none()) {
    return convert.attr("names")(given, count, what).cast<std::vector<std::string>>();
  }
  std::vector<std::string> made(count);
  std::string prefix = std::string("(") + what + " ";
  for (uint32_t i = 0; i < count; ++i) made[i] = prefix + std::to_string(i + 1) + ")";
  return made;
}

// N from the compressed rows that crninv._matrix.csr_arrays makes of
// matrix, with the names it checks.
NetworkPtr from_matrix(const py::object& matrix, const py::object& species,
                       const py::object& reactions) {
  py::module_ convert = py::module_::import("crninv._matrix");
  py::tuple csr = convert.attr("csr_arrays")(matrix);
  SparseMatrix n;
  n.rows = csr[3].cast<uint32_t>();
  n.columns = csr[4].cast<uint32_t>();
  auto start = csr[0].cast<Array<uint64_t>>();
  n.start = vector_of(start);
  n.column = vector_of(csr[1].cast<Array<uint32_t>>());
  n.value = vector_of(csr[2].cast<Array<int64_t>>());
  std::vector<std::string> s = names(convert, species, n.rows, "species");
  std::vector<std::string> r = names(convert, reactions, n.columns, "reaction");
  return std::make_shared<NetworkHandle>(Network(std::move(n), std::move(s), std::move(r)));
}

template <typename T>
py::array_t<T> array_of(const std::vector<T>& v) {
  return py::array_t<T>(static_cast<py::ssize_t>(v.size()), v.data());
}

py::object stoichiometry(const NetworkHandle& h) {
  const SparseMatrix& n = h.network().stoichiometry();
  py::module_ sparse = py::module_::import("scipy.sparse");
  py::tuple arrays = py::make_tuple(array_of(n.value), array_of(n.column), array_of(n.start));
  return sparse.attr("csr_matrix")(arrays, py::arg("shape") = py::make_tuple(n.rows, n.columns));
}

// The two sides of a reaction, given by index or by name.
py::tuple sides(NetworkHandle& h, const py::object& reaction) {
  const Network& n = h.network();
  uint32_t j = 0;
  if (py::isinstance<py::str>(reaction)) {
    py::list names = h.reaction_names();
    py::object position = names.attr("index")(reaction);
    j = position.cast<uint32_t>();
  } else {
    int64_t k = reaction.cast<int64_t>();
    if (k < 0) k += n.reaction_count();
    if (k < 0 || k >= n.reaction_count()) throw py::index_error("reaction index out of range");
    j = static_cast<uint32_t>(k);
  }
  py::list species = h.species_names();
  auto side = [&](Side terms) {
    py::dict d;
    for (const Term& t : terms) {
      py::object key = species[t.species];
      d[key] = d.contains(key) ? py::int_(d[key].cast<int64_t>() + t.coefficient)
                               : py::int_(t.coefficient);
    }
    return d;
  };
  return py::make_tuple(side(n.reactants(j)), side(n.products(j)));
}

const char kNetworkDoc[] =
    R"doc(A reaction network: species, reactions and the stoichiometric matrix N.

Network(matrix, species=None, reactions=None) builds one from N, species by
reactions: a list of lists, a NumPy array or a scipy.sparse matrix of whole
numbers (each fitting 64 bits). Each reaction consumes the species of its
negative entries and produces those of its positive ones. Names default to
"(species 1)", ... and "(reaction 1)", ...; they must be distinct.

read_network, parse_network, read_sbml, read_pnml and from_cobra build one
from a file or a model.)doc";

}  // namespace

py::list NetworkHandle::species_names() {
  if (!species) species = names_of(value.species());
  return py::reinterpret_borrow<py::list>(species);
}

py::list NetworkHandle::reaction_names() {
  if (!reactions) reactions = names_of(value.reactions());
  return py::reinterpret_borrow<py::list>(reactions);
}

void bind_network(py::module_& m) {
  py::class_<NetworkHandle, NetworkPtr>(m, "Network", kNetworkDoc)
      .def(py::init(&from_matrix), py::arg("matrix"), py::arg("species") = py::none(),
           py::arg("reactions") = py::none())
      .def_property_readonly(
          "species", [](NetworkHandle& h) { return copy(h.species_names()); },
          "The species' names, in index order: the rows of N.")
      .def_property_readonly(
          "reactions", [](NetworkHandle& h) { return copy(h.reaction_names()); },
          "The reactions' names, in index order: the columns of N.")
      .def_property_readonly("stoichiometry", &stoichiometry,
                             "N as a scipy.sparse.csr_matrix of int64, species by reactions.")
      .def_property_readonly(
          "shape",
          [](const NetworkHandle& h) {
            return py::make_tuple(h.network().species_count(), h.network().reaction_count());
          },
          "(species, reactions).")
      .def_property_readonly(
          "factors",
          [](NetworkHandle& h) {
            py::dict d;
            py::list names = h.reaction_names();
            for (size_t j = 0; j < h.factors().size(); ++j) {
              if (h.factors()[j] != 1) d[names[j]] = h.factors()[j];
            }
            return d;
          },
          "The reactions whose stoichiometries a converter multiplied to make them whole "
          "(read_sbml, from_cobra), with the factor of each.")
      .def("sides", &sides, py::arg("reaction"),
           "(reactants, products) of a reaction given by index or name: dicts from species "
           "name to coefficient, as written (a species may stand on both sides).")
      .def("__repr__", [](const NetworkHandle& h) {
        return "<crninv.Network: " + std::to_string(h.network().species_count()) + " species, " +
               std::to_string(h.network().reaction_count()) + " reactions>";
      });
}

}  // namespace crninv::python
