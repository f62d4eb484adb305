// Networks from files and models: the text format, SBML and PNML through
// the converters' library functions, and the reactions of a model held in
// Python (from_cobra), their stoichiometries made whole as sbml2crn makes
// them. Reading releases the GIL; what the readers tell on the way becomes
// Python warnings once they are done.
#include <pybind11/stl.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "convert/stoichiometry.h"
#include "crninv/errors.h"
#include "crninv/text_format.h"
#include "python/module.h"
#ifdef CRNINV_PYTHON_SBML
#include "crninv/sbml.h"
#endif
#ifdef CRNINV_PYTHON_PNML
#include "crninv/pnml.h"
#endif

namespace crninv::python {

namespace {

std::string path_of(const py::object& path) {
  return py::module_::import("os").attr("fspath")(path).cast<std::string>();
}

void warn(const std::string& message) {
  if (PyErr_WarnEx(PyExc_UserWarning, message.c_str(), 2) != 0) throw py::error_already_set();
}

// Reads with the GIL released, then warns of each character the lexer
// skipped, as the program tells them.
NetworkPtr read_text(const std::string& name, const std::function<Network(ReadOptions&)>& read) {
  std::vector<std::pair<uint32_t, char>> skipped;
  ReadOptions options;
  options.unexpected_character = [&](uint32_t line, char c) { skipped.emplace_back(line, c); };
  Network network;
  {
    py::gil_scoped_release release;
    network = read(options);
  }
  for (auto [line, c] : skipped) {
    warn(name + " line " + std::to_string(line) + ": ignoring unexpected character '" +
         std::string(1, c) + "'");
  }
  return std::make_shared<NetworkHandle>(std::move(network));
}

NetworkPtr read_network_file(const py::object& path) {
  std::string p = path_of(path);
  return read_text(p, [&](ReadOptions& o) { return read_network(p, o); });
}

NetworkPtr parse_network_text(const std::string& text, const std::string& name) {
  return read_text(name, [&](ReadOptions& o) { return parse_network(text, o, name); });
}

#ifdef CRNINV_PYTHON_SBML
NetworkPtr read_sbml_file(const py::object& path, bool keep_boundary, bool leave_out_varying,
                          bool split_reversible) {
  std::string p = path_of(path);
  SbmlOptions options;
  options.keep_boundary = keep_boundary;
  options.leave_out_varying = leave_out_varying;
  options.split_reversible = split_reversible;
  SbmlConversion c;
  {
    py::gil_scoped_release release;
    c = read_sbml(p, options);
  }
  std::vector<int32_t> factors(c.network.reaction_count(), 1);
  for (const ConvertedReaction& r : c.reactions) {
    if (!r.left_out.empty()) warn(p + ": reaction " + r.id + " left out: " + r.left_out);
    for (uint32_t j = r.first; j < r.first + r.count; ++j) factors[j] = r.factor;
  }
  return std::make_shared<NetworkHandle>(std::move(c.network), std::move(factors));
}
#endif

#ifdef CRNINV_PYTHON_PNML
NetworkPtr read_pnml_file(const py::object& path) {
  std::string p = path_of(path);
  PnmlConversion c;
  {
    py::gil_scoped_release release;
    c = read_pnml(p);
  }
  return std::make_shared<NetworkHandle>(std::move(c.network));
}
#endif

using Terms = std::vector<std::pair<uint32_t, double>>;

// The species in the order in which the reactions name them, each
// reaction's reactants before its products, as the network text has them;
// then those that no reaction names, in their own order. order[k] is the
// species that becomes species k.
std::vector<uint32_t> first_appearance(size_t species, const std::vector<Terms>& reactions) {
  std::vector<uint32_t> order;
  std::vector<bool> seen(species, false);
  auto see = [&](uint32_t k) {
    if (!seen[k]) order.push_back(k);
    seen[k] = true;
  };
  for (const Terms& terms : reactions) {
    for (auto [k, v] : terms) {
      if (!(v > 0)) see(k);
    }
    for (auto [k, v] : terms) {
      if (v > 0) see(k);
    }
  }
  for (uint32_t k = 0; k < species; ++k) {
    if (!seen[k]) order.push_back(k);
  }
  return order;
}

// What scaling a reaction to whole numbers found wrong, worded as sbml2crn
// words it.
std::string scaling_fault(const convert::Scaling& s, const std::vector<std::string>& species,
                          const Terms& terms) {
  if (s.culprit < terms.size()) {
    return "stoichiometry of " + species[terms[s.culprit].first] + " " + s.reason;
  }
  return s.reason;
}

NetworkPtr from_reactions(const std::vector<std::string>& species,
                          const std::vector<std::string>& reactions,
                          const std::vector<Terms>& terms, const std::string& model) {
  if (terms.size() != reactions.size()) throw py::value_error("one list of terms per reaction");
  for (const Terms& t : terms) {
    for (auto [k, v] : t) {
      if (k >= species.size()) throw py::index_error("a term names species " + std::to_string(k));
    }
  }
  // Each reaction scaled; those that cannot be are left out, as sbml2crn
  // leaves them out, but for a stoichiometry that is no fraction.
  std::vector<Terms> kept;
  std::vector<std::string> names;
  std::vector<int32_t> factors;
  for (size_t j = 0; j < terms.size(); ++j) {
    std::vector<double> values;
    for (auto [k, v] : terms[j]) values.push_back(v);
    convert::Scaling s = convert::scale_to_integers(values);
    if (!s.ok) {
      std::string fault = "reaction " + reactions[j] + ": " + scaling_fault(s, species, terms[j]);
      if (s.no_fraction) throw ConversionError(model, fault);
      warn(model + ": " + fault + "; the reaction is left out");
      continue;
    }
    kept.push_back(terms[j]);
    for (size_t t = 0; t < values.size(); ++t) kept.back()[t].second = s.values[t];
    names.push_back(reactions[j]);
    factors.push_back(s.factor);
  }
  std::vector<uint32_t> order = first_appearance(species.size(), kept);
  std::vector<uint32_t> index(species.size());
  std::vector<std::string> species_names;
  for (uint32_t k = 0; k < order.size(); ++k) {
    index[order[k]] = k;
    species_names.push_back(species[order[k]]);
  }
  NetworkBuilder builder;
  for (uint32_t r = 0; r < kept.size(); ++r) {
    for (auto [k, v] : kept[r]) {
      auto whole = static_cast<int64_t>(v);
      builder.add_term(r, index[k], whole < 0 ? -whole : whole, whole > 0);
    }
  }
  return std::make_shared<NetworkHandle>(builder.finish(std::move(species_names), std::move(names)),
                                         std::move(factors));
}

}  // namespace

void bind_readers(py::module_& m) {
  m.def("read_network", &read_network_file, py::arg("path"),
        R"doc(The network of a file in crninv's text format (man crninv: INPUT FORMAT).

Species in order of first appearance, reactions in file order; unlabelled
reactions are named "(reaction N)". Characters that cannot start a token
are skipped with a warning. Raises ReadError (an OSError) when the file
cannot be read and ParseError (a ValueError, with .line) on a syntax error.)doc");
  m.def("parse_network", &parse_network_text, py::arg("text"), py::arg("name") = "<string>",
        R"doc(The network of a text in crninv's format; name stands for the file in errors.)doc");
#ifdef CRNINV_PYTHON_SBML
  m.def("read_sbml", &read_sbml_file, py::arg("path"), py::arg("keep_boundary") = false,
        py::arg("leave_out_varying") = false, py::arg("split_reversible") = false,
        R"doc(The network of an SBML model (Levels 1 to 3, plain or .gz), as sbml2crn writes it.

libSBML reads it. Boundary species are left out unless keep_boundary;
stoichiometries set by formulas are evaluated, float noise is read as the
fraction it stands for, and each reaction is scaled to whole numbers
(Network.factors). A stoichiometry that changes over time raises
NoStoichiometricMatrix unless leave_out_varying; split_reversible writes a
reversible reaction as ID and ID_rev. Reactions left out are warned of.
Raises SbmlError (a ConversionError, a ValueError) when the file cannot be
converted. man sbml2crn tells the rules.)doc");
#endif
#ifdef CRNINV_PYTHON_PNML
  m.def("read_pnml", &read_pnml_file, py::arg("path"),
        R"doc(The net of a PNML file (a place/transition net, plain or .gz) as pnml2crn reads it.

Places are species, transitions reactions, arc weights coefficients;
inhibitor, read and test arcs are left out. Raises ConversionError (a
ValueError) when the file cannot be converted.)doc");
#endif
  m.def("_network_from_reactions", &from_reactions, py::arg("species"), py::arg("reactions"),
        py::arg("terms"), py::arg("model"),
        "The network of reactions given as lists of (species index, stoichiometry): "
        "negative for a reactant. Each reaction is scaled to whole numbers as sbml2crn "
        "scales it. For from_cobra.");
}

}  // namespace crninv::python
