// crninv.invariants and crninv.semiflows, and their results: the rows kept
// in C++, read as Rows, matrices or the program's text and JSON.
#include <pybind11/stl.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "crninv/invariants.h"
#include "crninv/report.h"
#include "crninv/semiflows.h"
#include "python/control.h"
#include "python/rows.h"

namespace crninv::python {

namespace {

struct InvariantsResult {
  NetworkPtr network;
  Invariants value;
};
using InvariantsPtr = std::shared_ptr<InvariantsResult>;

struct SemiflowsResult {
  NetworkPtr network;
  Semiflows value;
};
using SemiflowsPtr = std::shared_ptr<SemiflowsResult>;

std::vector<uint32_t> rows_of_class(const Invariants& inv, RowClass c) {
  std::vector<uint32_t> selected;
  for (uint32_t k = 0; k < inv.classes.size(); ++k) {
    if (inv.classes[k] == c) selected.push_back(k);
  }
  return selected;
}

std::shared_ptr<RowList> section(const InvariantsPtr& r, RowClass c) {
  const Invariants& inv = r->value;
  Layout layout{inv.effects, inv.of_reactions, !inv.of_reactions};
  return std::make_shared<RowList>(std::shared_ptr<const IntegerRows>(r, &inv.rows),
                                   rows_of_class(inv, c), r->network, layout);
}

// The columns of part ("species", "reactions", or None for the block the
// rows combine).
std::pair<uint32_t, uint32_t> columns_of(const Invariants& inv, const py::object& part) {
  bool species = !inv.of_reactions;
  if (!part.is_none()) {
    std::string p = part.cast<std::string>();
    if (p != "species" && p != "reactions") {
      throw py::value_error("part must be 'species', 'reactions' or None");
    }
    species = p == "species";
  }
  bool combined = species != inv.of_reactions;
  uint32_t end = inv.effects + inv.combined;
  return combined ? std::make_pair(inv.effects, end) : std::make_pair(uint32_t{0}, inv.effects);
}

py::object section_matrix(const InvariantsPtr& r, RowClass c, const py::object& part, bool sparse) {
  auto [from, to] = columns_of(r->value, part);
  return rows_matrix(r->value.rows, rows_of_class(r->value, c), from, to, sparse);
}

InvariantsPtr compute_invariants(const NetworkPtr& network, bool wide, bool transitions,
                                 py::object progress, std::optional<uint64_t> memory_budget) {
  auto r = std::make_shared<InvariantsResult>();
  r->network = network;
  InvariantOptions options;
  options.wide = wide;
  options.transitions = transitions;
  r->value = run({std::move(progress), memory_budget}, [&](const Control& control) {
    return invariants(network->network(), options, control);
  });
  return r;
}

SemiflowsPtr compute_semiflows(const NetworkPtr& network, bool transitions,
                               std::optional<uint64_t> max_semiflows, py::object progress,
                               std::optional<uint64_t> memory_budget) {
  auto r = std::make_shared<SemiflowsResult>();
  r->network = network;
  SemiflowOptions options;
  options.transitions = transitions;
  if (max_semiflows) options.max_semiflows = *max_semiflows;
  r->value = run({std::move(progress), memory_budget}, [&](const Control& control) {
    return semiflows(network->network(), options, control);
  });
  return r;
}

std::shared_ptr<RowList> semiflow_rows(const SemiflowsPtr& r) {
  const Semiflows& s = r->value;
  Layout layout{0, false, !s.of_reactions};
  return std::make_shared<RowList>(std::shared_ptr<const IntegerRows>(r, &s.vectors),
                                   std::vector<uint32_t>(), r->network, layout, true);
}

const char kCallDoc[] = R"doc(

progress: None; True for a bar on standard error (tqdm's where it is
installed); or a function given a Progress now and then (about every 20
ms), returning False to stop the work (Cancelled). memory_budget: bytes
that the work may hold (OutOfMemory past them), by default what the
machine can spare. The GIL is released while the library computes, and
Ctrl-C stops it within a fraction of a second with KeyboardInterrupt.)doc";

const std::string kInvariantsDoc =
    std::string(R"doc(The linear invariants of a network: crninv's report.

The rows of the reduced row-echelon form of [N | -I], in three sections:
flows (conservation laws: no reaction changes them), inequalities (the
reactions change them in one direction) and irreducible (both directions).
wide: integers as wide as the numbers need (crninv --wide); wide=False is
the 32-bit run of the program, which raises IntegerOverflow (an
OverflowError) where a number passes 32 bits. transitions: the invariants
of the reactions, the transposed network (crninv --transitions).

    >>> net = crninv.parse_network("A -> B;\n")
    >>> r = crninv.invariants(net)
    >>> r.flows[0].species
    {'A': 1, 'B': 1}
    >>> r.inequalities[0]
    Row(species={'B': -1}, reactions={'(reaction 1)': 1})
    >>> str(r).splitlines()[:2]
    ['Flows (== constant):', '\t+1 A +1 B '])doc") +
    kCallDoc;

const std::string kSemiflowsDoc = std::string(
                                      R"doc(The minimal semiflows of a network (crninv --semiflows).

The P-semiflows, the conservation laws with no negative coefficient that are
minimal in support; with transitions, the T-semiflows, the minimal
non-negative combinations of reactions with no net change. Their number can
grow exponentially: max_semiflows raises TooManySemiflows (with .cap) past
that many semiflows or candidates held on the way.

    >>> s = crninv.semiflows(crninv.parse_network("A -> B;\nB -> A;\n"))
    >>> [row.species for row in s]
    [{'A': 1, 'B': 1}])doc") + kCallDoc;

const char kInvariantsResultDoc[] = R"doc(The result of invariants().

flows, inequalities, irreducible: Rows, in the order of the report; each Row
has species and reactions dicts (name -> int). str() is the report of
crninv (with --wide, --transitions as computed) byte for byte; to_json() its
--json document; write(file) streams either. flow_matrix(),
inequality_matrix() and irreducible_matrix() give a section as a matrix.)doc";

const char kMatrixDoc[] = R"doc(The section's rows as a matrix, one row per row of the section.

part: "species" or "reactions", the columns (by default the block the rows
combine: species, or reactions with transitions). A NumPy int64 array; an
entry past 64 bits raises OverflowError. sparse=True: a scipy.sparse
csr_matrix of int64, or one of dtype object holding exact Python
ints when an entry passes 64 bits.)doc";

// The library's own time for invariants(), without the module's control,
// for bench/python_overhead.py.
double library_seconds(const NetworkPtr& network, bool wide, bool transitions) {
  InvariantOptions options;
  options.wide = wide;
  options.transitions = transitions;
  py::gil_scoped_release release;
  auto start = std::chrono::steady_clock::now();
  Invariants result = invariants(network->network(), options);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

void bind_invariants(py::module_& m) {
  py::class_<InvariantsResult, InvariantsPtr> inv(m, "Invariants", kInvariantsResultDoc);
  bind_text(inv, &write_report, &write_json);
  inv.def_property_readonly(
         "flows", [](const InvariantsPtr& r) { return section(r, RowClass::kFlow); },
         "Rows with no reaction term: conservation laws (or, of the reactions, no net change).")
      .def_property_readonly(
          "inequalities", [](const InvariantsPtr& r) { return section(r, RowClass::kInequality); },
          "Rows whose reaction terms share one sign.")
      .def_property_readonly(
          "irreducible", [](const InvariantsPtr& r) { return section(r, RowClass::kIrreducible); },
          "Rows whose reaction terms have both signs.")
      .def_property_readonly(
          "transitions", [](const InvariantsPtr& r) { return r->value.of_reactions; },
          "Whether the rows combine reactions (transitions=True).")
      .def(
          "flow_matrix",
          [](const InvariantsPtr& r, const py::object& part, bool sparse) {
            return section_matrix(r, RowClass::kFlow, part, sparse);
          },
          py::arg("part") = py::none(), py::arg("sparse") = false, kMatrixDoc)
      .def(
          "inequality_matrix",
          [](const InvariantsPtr& r, const py::object& part, bool sparse) {
            return section_matrix(r, RowClass::kInequality, part, sparse);
          },
          py::arg("part") = py::none(), py::arg("sparse") = false, kMatrixDoc)
      .def(
          "irreducible_matrix",
          [](const InvariantsPtr& r, const py::object& part, bool sparse) {
            return section_matrix(r, RowClass::kIrreducible, part, sparse);
          },
          py::arg("part") = py::none(), py::arg("sparse") = false, kMatrixDoc)
      .def("__repr__", [](const InvariantsPtr& r) {
        const Invariants& v = r->value;
        return "<crninv.Invariants of " + std::string(v.of_reactions ? "reactions" : "species") +
               ": " + std::to_string(rows_of_class(v, RowClass::kFlow).size()) + " flows, " +
               std::to_string(rows_of_class(v, RowClass::kInequality).size()) + " inequalities, " +
               std::to_string(rows_of_class(v, RowClass::kIrreducible).size()) + " irreducible>";
      });
  m.def("_library_seconds", &library_seconds, py::arg("network"), py::arg("wide") = true,
        py::arg("transitions") = false,
        "Seconds that the library's invariants() takes alone, for the benchmarks.");
  m.def("invariants", &compute_invariants, py::arg("network"), py::arg("wide") = true,
        py::arg("transitions") = false, py::kw_only(), py::arg("progress") = py::none(),
        py::arg("memory_budget") = py::none(), kInvariantsDoc.c_str());

  py::class_<SemiflowsResult, SemiflowsPtr> semi(
      m, "Semiflows",
      "The result of semiflows(): a sequence of Row (len, [i], iteration), also as rows; "
      "str() is crninv --semiflows's text byte for byte, to_json() its --json document.");
  bind_text(semi, &write_semiflows, &write_semiflows_json);
  semi.def_property_readonly("rows", &semiflow_rows, "The semiflows as Rows, in the text's order.")
      .def("__len__", [](const SemiflowsPtr& r) { return r->value.vectors.size(); })
      .def("__getitem__",
           [](const SemiflowsPtr& r, const py::object& i) {
             return py::cast(semiflow_rows(r)).attr("__getitem__")(i);
           })
      .def("__iter__", [](const SemiflowsPtr& r) { return py::iter(py::cast(semiflow_rows(r))); })
      .def_property_readonly(
          "transitions", [](const SemiflowsPtr& r) { return r->value.of_reactions; },
          "Whether these are T-semiflows (of the reactions).")
      .def(
          "matrix",
          [](const SemiflowsPtr& r, bool sparse) {
            const Semiflows& s = r->value;
            const Network& n = r->network->network();
            std::vector<uint32_t> all(s.vectors.size());
            for (uint32_t k = 0; k < all.size(); ++k) all[k] = k;
            uint32_t width = s.of_reactions ? n.reaction_count() : n.species_count();
            return rows_matrix(s.vectors, all, 0, width, sparse);
          },
          py::arg("sparse") = false,
          "The semiflows as a matrix, one row each, columns species (or reactions): a NumPy "
          "int64 array, or with sparse=True a scipy.sparse matrix (dtype object past 64 bits).")
      .def("__repr__", [](const SemiflowsPtr& r) {
        return "<crninv.Semiflows: " + std::to_string(r->value.vectors.size()) + " " +
               (r->value.of_reactions ? "T" : "P") + "-semiflows>";
      });
  m.def("semiflows", &compute_semiflows, py::arg("network"), py::arg("transitions") = false,
        py::arg("max_semiflows") = py::none(), py::kw_only(), py::arg("progress") = py::none(),
        py::arg("memory_budget") = py::none(), kSemiflowsDoc.c_str());
}

}  // namespace crninv::python
