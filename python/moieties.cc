// crninv.conserved_moieties: the laws in reduced row-echelon form, the
// species each eliminates, the link matrix as Fractions and the reduced
// stoichiometry, for the reduction of an ODE model.
#include "crninv/moieties.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <memory>
#include <optional>
#include <vector>

#include "crninv/report.h"
#include "python/control.h"
#include "python/rows.h"

namespace crninv::python {

namespace {

struct MoietiesResult {
  NetworkPtr network;
  ConservedMoieties value;
};
using MoietiesPtr = std::shared_ptr<MoietiesResult>;

py::list names(const MoietiesResult& r, const std::vector<uint32_t>& species) {
  py::list all = r.network->species_names(), out;
  for (uint32_t s : species) out.append(all[s]);
  return out;
}

std::shared_ptr<RowList> laws(const MoietiesPtr& r) {
  return std::make_shared<RowList>(std::shared_ptr<const IntegerRows>(r, &r->value.laws),
                                   std::vector<uint32_t>(), r->network, Layout{0, false, true},
                                   true);
}

// Puts value at slot, which holds a reference.
void put(PyObject** slot, const py::object& value) {
  PyObject* old = *slot;
  *slot = value.inc_ref().ptr();
  Py_XDECREF(old);
}

// L: species by independent species, Fractions; the zeros and ones one
// object each.
py::object link_matrix(const MoietiesResult& r) {
  const ConservedMoieties& m = r.value;
  size_t species = r.network->network().species_count(), width = m.independent.size();
  py::object fraction = py::module_::import("fractions").attr("Fraction");
  py::object one = fraction(1);
  py::array l = py::module_::import("numpy").attr("full")(py::make_tuple(species, width),
                                                          fraction(0), py::arg("dtype") = "O");
  auto data = static_cast<PyObject**>(l.mutable_data());
  for (size_t i = 0; i < width; ++i) put(&data[m.independent[i] * width + i], one);
  for (uint32_t k = 0; k < m.link.size(); ++k) {
    py::object d = python_int(m.denominator[k]);
    for (uint64_t e = m.link.start[k]; e < m.link.start[k + 1]; ++e) {
      put(&data[m.dependent[k] * width + m.link.column[e]], fraction(python_int(m.link.at(e)), d));
    }
  }
  return std::move(l);
}

py::object reduced(const MoietiesResult& r) {
  SparseMatrix nr = reduced_stoichiometry(r.network->network(), r.value);
  auto array = [](const auto& v) {
    using T = typename std::decay_t<decltype(v)>::value_type;
    return py::array_t<T>(static_cast<py::ssize_t>(v.size()), v.data());
  };
  return py::module_::import("scipy.sparse")
      .attr("csr_matrix")(py::make_tuple(array(nr.value), array(nr.column), array(nr.start)),
                          py::arg("shape") = py::make_tuple(nr.rows, nr.columns));
}

MoietiesPtr compute(const NetworkPtr& network, py::object progress,
                    std::optional<uint64_t> memory_budget) {
  auto r = std::make_shared<MoietiesResult>();
  r->network = network;
  r->value = run({std::move(progress), memory_budget}, [&](const Control& control) {
    return conserved_moieties(network->network(), control);
  });
  return r;
}

const char kDoc[] = R"doc(The conserved moieties of a network, for reducing its ODE model.

The conservation laws in reduced row-echelon form (the flows of
invariants(network, wide=True)), each with coprime integer coefficients and
a positive first one. The first species of each law appears in no other:
the law lets a model eliminate it, the same species on every machine and in
any order of the reactions. With Nr the rows of N of the independent species
and L the link matrix, N = L Nr exactly.

    >>> m = crninv.conserved_moieties(crninv.parse_network(
    ...     "E + S -> ES;\nES -> E + S;\nES -> E + P;\n"))
    >>> m.dependent, m.independent
    (['E', 'S'], ['ES', 'P'])
    >>> [law.species for law in m.laws]
    [{'E': 1, 'ES': 1}, {'S': 1, 'ES': 1, 'P': 1}]
    >>> m.link_matrix.tolist()
    [[Fraction(-1, 1), Fraction(0, 1)], [Fraction(-1, 1), Fraction(-1, 1)], [Fraction(1, 1), Fraction(0, 1)], [Fraction(0, 1), Fraction(1, 1)]]

progress and memory_budget as for invariants().)doc";

const char kResultDoc[] = R"doc(The result of conserved_moieties().

dependent: for each law, the species it eliminates (its first); independent:
the other species, in index order; laws: Rows (species terms only);
link_matrix: L, species by independent species, a NumPy array of
fractions.Fraction; reduced_stoichiometry: Nr, the rows of N of the
independent species (scipy.sparse, int64). N = L Nr. str() is crninv
--moieties's text, to_json() its --json document.)doc";

}  // namespace

void bind_moieties(py::module_& m) {
  py::class_<MoietiesResult, MoietiesPtr> c(m, "ConservedMoieties", kResultDoc);
  bind_text(c, &write_moieties, &write_moieties_json);
  c.def_property_readonly(
       "dependent", [](const MoietiesPtr& r) { return names(*r, r->value.dependent); },
       "For each law, the species it eliminates: its first.")
      .def_property_readonly(
          "independent", [](const MoietiesPtr& r) { return names(*r, r->value.independent); },
          "The species that no law eliminates, in index order.")
      .def_property_readonly("laws", &laws, "The laws as Rows, in reduced row-echelon form.")
      .def_property_readonly(
          "link_matrix", [](const MoietiesPtr& r) { return link_matrix(*r); },
          "L, species by independent species, entries fractions.Fraction: N = L Nr.")
      .def_property_readonly(
          "reduced_stoichiometry", [](const MoietiesPtr& r) { return reduced(*r); },
          "Nr: the rows of N of the independent species, a scipy.sparse csr_matrix of int64.")
      .def(
          "conservation_matrix",
          [](const MoietiesPtr& r, bool sparse) {
            const IntegerRows& l = r->value.laws;
            std::vector<uint32_t> all(l.size());
            for (uint32_t k = 0; k < all.size(); ++k) all[k] = k;
            return rows_matrix(l, all, 0, r->network->network().species_count(), sparse);
          },
          py::arg("sparse") = false,
          "The laws as a matrix, laws by species: a NumPy int64 array, or with sparse=True "
          "a scipy.sparse matrix (dtype object past 64 bits).")
      .def("__repr__", [](const MoietiesPtr& r) {
        return "<crninv.ConservedMoieties: " + std::to_string(r->value.laws.size()) + " laws, " +
               std::to_string(r->value.independent.size()) + " independent species>";
      });
  m.def("conserved_moieties", &compute, py::arg("network"), py::kw_only(),
        py::arg("progress") = py::none(), py::arg("memory_budget") = py::none(), kDoc);
}

}  // namespace crninv::python
