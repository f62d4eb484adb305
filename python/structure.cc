// The analyses of a network's structure: complexes, linkage classes and
// deficiency (crninv.structure), minimal siphons with the persistence
// criterion and minimal traps (crninv.siphons, crninv.traps), and covering
// by semiflows (crninv.covering). Their results are small: Python values
// made on access, and str() the program's text.
#include "crninv/structure.h"

#include <pybind11/stl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "crninv/covering.h"
#include "crninv/siphons.h"
#include "python/control.h"
#include "python/rows.h"

namespace crninv::python {

namespace {

struct StructureResult {
  NetworkPtr network;
  Structure value;
};
using StructurePtr = std::shared_ptr<StructureResult>;

struct SiphonsResult {
  NetworkPtr network;
  Siphons value;
  std::optional<Persistence> persistence;  // for siphons, when asked for
};
using SiphonsPtr = std::shared_ptr<SiphonsResult>;

struct CoveringResult {
  NetworkPtr network;
  Covering value;
};
using CoveringPtr = std::shared_ptr<CoveringResult>;

py::list names_at(py::list names, const std::vector<uint32_t>& indices) {
  py::list out;
  for (uint32_t i : indices) out.append(names[i]);
  return out;
}

py::list complexes(StructureResult& r) {
  py::list species = r.network->species_names(), out;
  for (const std::vector<Term>& c : r.value.complexes) {
    py::dict d;
    for (const Term& t : c) d[species[t.species]] = t.coefficient;
    out.append(d);
  }
  return out;
}

py::list linkage_classes(StructureResult& r) {
  py::list reactions = r.network->reaction_names(), out;
  for (const LinkageClass& c : r.value.linkage_classes) {
    py::dict d;
    d["complexes"] = c.complexes;
    d["reactions"] = names_at(reactions, c.reactions);
    d["strong_classes"] = c.strong_classes;
    d["rank"] = c.rank;
    d["deficiency"] = c.deficiency;
    d["terminal_classes"] = c.terminal_classes;
    out.append(d);
  }
  return out;
}

py::list strong_classes(const StructureResult& r) {
  py::list out;
  for (const StrongClass& c : r.value.strong_classes) {
    out.append(py::dict(py::arg("complexes") = c.complexes,
                        py::arg("linkage_class") = c.linkage_class,
                        py::arg("terminal") = c.terminal));
  }
  return out;
}

py::dict deficiency_zero(const StructureResult& r) {
  const char* outcomes[] = {"not applicable", "no positive equilibrium",
                            "unique stable equilibrium"};
  const DeficiencyZeroVerdict& v = r.value.deficiency_zero;
  return py::dict(py::arg("outcome") = outcomes[v.outcome], py::arg("wording") = v.wording);
}

py::dict deficiency_one(const StructureResult& r) {
  const char* outcomes[] = {"deficiency zero", "not applicable", "at most one equilibrium",
                            "exactly one equilibrium"};
  const DeficiencyOneVerdict& v = r.value.deficiency_one;
  return py::dict(py::arg("outcome") = outcomes[v.outcome],
                  py::arg("classes_above_one") = v.classes_above_one,
                  py::arg("class_deficiency_sum") = v.class_deficiency_sum,
                  py::arg("classes_with_several_terminals") = v.classes_with_several_terminals,
                  py::arg("wording") = v.wording);
}

py::dict robustness(StructureResult& r) {
  py::list species = r.network->species_names(), found;
  const RobustnessVerdict& v = r.value.robustness;
  for (const RobustSpecies& s : v.species) {
    found.append(py::dict(py::arg("species") = species[s.species],
                          py::arg("complexes") = py::make_tuple(s.complexes[0], s.complexes[1])));
  }
  return py::dict(py::arg("applies") = v.applies, py::arg("species") = found,
                  py::arg("wording") = v.wording);
}

py::list sets(SiphonsResult& r, const std::vector<uint32_t>* positions) {
  py::list species = r.network->species_names(), out;
  const auto& all = r.value.sets;
  size_t count = positions != nullptr ? positions->size() : all.size();
  for (size_t i = 0; i < count; ++i) {
    out.append(names_at(species, all[positions != nullptr ? (*positions)[i] : i]));
  }
  return out;
}

py::object persistence_of(SiphonsResult& r) {
  if (!r.persistence) return py::none();
  const Persistence& p = *r.persistence;
  return py::dict(py::arg("persistent") = p.persistent(), py::arg("criterion") = p.criterion,
                  py::arg("conservative") = p.conservative,
                  py::arg("without_semiflow") = sets(r, &p.without_semiflow));
}

py::dict certificate(CoveringResult& r, const CoveredSet& c, bool species) {
  py::list names = species ? r.network->species_names() : r.network->reaction_names();
  py::dict d;
  if (c.certificate.size() == 0) return d;
  for (uint64_t e = c.certificate.start[0]; e < c.certificate.start[1]; ++e) {
    d[names[c.certificate.column[e]]] = python_int(c.certificate.at(e));
  }
  return d;
}

StructurePtr compute_structure(const NetworkPtr& network, py::object progress,
                               std::optional<uint64_t> memory_budget) {
  auto r = std::make_shared<StructureResult>();
  r->network = network;
  r->value = run({std::move(progress), memory_budget},
                 [&](const Control& control) { return structure(network->network(), control); });
  return r;
}

SiphonsPtr compute_sets(const NetworkPtr& network, SiphonOptions::Kind kind,
                        std::optional<uint64_t> cap, bool with_persistence,
                        std::optional<unsigned> threads, py::object progress,
                        std::optional<uint64_t> memory_budget) {
  auto r = std::make_shared<SiphonsResult>();
  r->network = network;
  SiphonOptions options;
  options.kind = kind;
  if (cap) options.max_count = *cap;
  if (threads) {
    if (*threads == 0) throw py::value_error("threads must be at least 1");
    options.threads = *threads;
  }
  run({std::move(progress), memory_budget}, [&](const Control& control) {
    r->value = siphons(network->network(), options, control);
    if (with_persistence) r->persistence = persistence(network->network(), r->value, control);
    return 0;
  });
  return r;
}

CoveringPtr compute_covering(const NetworkPtr& network, py::object progress,
                             std::optional<uint64_t> memory_budget) {
  auto r = std::make_shared<CoveringResult>();
  r->network = network;
  r->value = run({std::move(progress), memory_budget},
                 [&](const Control& control) { return covering(network->network(), control); });
  return r;
}

template <typename Ptr>
std::string siphons_text(const Ptr& r) {
  const Persistence* p = r->persistence ? &*r->persistence : nullptr;
  return siphons_report_text(r->network->network(), r->value, p);
}

template <typename Ptr>
std::string siphons_json(const Ptr& r) {
  const Persistence* p = r->persistence ? &*r->persistence : nullptr;
  return siphons_report_json(r->network->network(), r->value, p);
}

const char kStructureDoc[] =
    R"doc(The structure of a network as chemical reaction network theory reads it.

Complexes, the reaction graph on them, linkage and strong linkage classes,
the exact rank of N, the deficiency, and what the deficiency zero and one
theorems and the criterion of absolute concentration robustness conclude for
mass-action kinetics (crninv --structure; man crninv, STRUCTURE).
progress and memory_budget as for invariants().

    >>> s = crninv.structure(crninv.parse_network("A -> B;\nB -> A;\n"))
    >>> s.deficiency, s.weakly_reversible, s.deficiency_zero["outcome"]
    (0, True, 'unique stable equilibrium'))doc";

const char kSiphonsDoc[] = R"doc(The minimal siphons of a network and the persistence criterion.

A siphon is a set of species that every reaction producing one of them also
consumes one of: once empty it stays empty. The sets are enumerated with a
SAT solver, or several sharing the work (threads: at most that many, by
default one a core; the sets do not depend on it); max_siphons raises
TooManySiphons past that many. With
persistence, the criterion of Angeli, De Leenheer and Sontag (2007): every
minimal siphon holding the support of a P-semiflow, in a conservative
network, shows that no species tends to zero. str() is crninv --siphons's
text. progress and memory_budget as for invariants().)doc";

const char kTrapsDoc[] = R"doc(The minimal traps of a network (crninv --traps).

A trap is a set of species that every reaction consuming one of them also
produces one of: once marked it stays marked. max_traps raises
TooManySiphons (traps=True) past that many; threads as for siphons(). progress and memory_budget as
for invariants().)doc";

const char kCoveringDoc[] = R"doc(What the semiflows of a network cover (crninv --covering).

The species that some P-semiflow covers (then bounded), the reactions that
some T-semiflow covers, whether the network is conservative (every species
covered) and consistent (every reaction covered), and for each side a
semiflow whose support is exactly the covered set, found by exact linear
programming and checked. progress and memory_budget as for invariants().)doc";

void bind_structure_result(py::module_& m) {
  py::class_<StructureResult, StructurePtr>(
      m, "Structure", "The result of structure(); str() is crninv --structure's text.")
      .def("__str__",
           [](const StructurePtr& r) { return structure_text(r->network->network(), r->value); })
      .def(
          "to_json",
          [](const StructurePtr& r) { return structure_json(r->network->network(), r->value); },
          "crninv --structure --json's document, as a str.")
      .def_property_readonly(
          "complexes", [](const StructurePtr& r) { return complexes(*r); },
          "Each complex a dict from species name to coefficient, in order of appearance.")
      .def_property_readonly(
          "reaction_complexes",
          [](const StructurePtr& r) {
            py::list out;
            for (size_t j = 0; j < r->value.reactant.size(); ++j) {
              out.append(py::make_tuple(r->value.reactant[j], r->value.product[j]));
            }
            return out;
          },
          "For each reaction, (its reactant complex, its product complex).")
      .def_property_readonly(
          "linkage_classes", [](const StructurePtr& r) { return linkage_classes(*r); },
          "Each a dict: complexes, reactions (names), strong_classes, rank, deficiency, "
          "terminal_classes.")
      .def_property_readonly(
          "strong_classes", [](const StructurePtr& r) { return strong_classes(*r); },
          "Each a dict: complexes, linkage_class, terminal.")
      .def_property_readonly(
          "rank", [](const StructurePtr& r) { return r->value.rank; }, "The rank of N.")
      .def_property_readonly(
          "deficiency", [](const StructurePtr& r) { return r->value.deficiency; },
          "Complexes less linkage classes less the rank.")
      .def_property_readonly(
          "terminal_classes", [](const StructurePtr& r) { return r->value.terminal_classes; },
          "The terminal strong linkage classes.")
      .def_property_readonly(
          "reversible", [](const StructurePtr& r) { return r->value.reversible; },
          "Each reaction's reverse is a reaction too.")
      .def_property_readonly(
          "weakly_reversible", [](const StructurePtr& r) { return r->value.weakly_reversible; },
          "Each linkage class is strongly connected.")
      .def_property_readonly(
          "deficiency_zero", [](const StructurePtr& r) { return deficiency_zero(*r); },
          "The deficiency zero theorem: outcome and wording.")
      .def_property_readonly(
          "deficiency_one", [](const StructurePtr& r) { return deficiency_one(*r); },
          "The deficiency one theorem: outcome, its conditions, and wording.")
      .def_property_readonly(
          "robustness", [](const StructurePtr& r) { return robustness(*r); },
          "Absolute concentration robustness (Shinar and Feinberg): applies, species, "
          "wording.")
      .def_property_readonly(
          "network", [](const StructurePtr& r) { return r->network; }, "The network.");
}

void bind_sets_result(py::module_& m) {
  py::class_<SiphonsResult, SiphonsPtr>(
      m, "Siphons",
      "The result of siphons() or traps(): a sequence of sets, each a list of species names "
      "(len, [i], iteration); str() is the program's text.")
      .def("__str__", &siphons_text<SiphonsPtr>)
      .def("to_json", &siphons_json<SiphonsPtr>, "The program's --json document, as a str.")
      .def_property_readonly(
          "sets", [](const SiphonsPtr& r) { return sets(*r, nullptr); },
          "The minimal sets, each a list of species names in index order.")
      .def("__len__", [](const SiphonsPtr& r) { return r->value.sets.size(); })
      .def("__getitem__",
           [](const SiphonsPtr& r, const py::object& i) -> py::object {
             return sets(*r, nullptr).attr("__getitem__")(i);
           })
      .def("__iter__", [](const SiphonsPtr& r) { return py::iter(sets(*r, nullptr)); })
      .def_property_readonly(
          "traps", [](const SiphonsPtr& r) { return r->value.kind == SiphonOptions::kTraps; },
          "Whether these are traps.")
      .def_property_readonly(
          "persistence", [](const SiphonsPtr& r) { return persistence_of(*r); },
          "None, or a dict: persistent (shown), criterion (every minimal siphon holds a "
          "P-semiflow's support), conservative, without_semiflow (the siphons that hold none).")
      .def_property_readonly(
          "network", [](const SiphonsPtr& r) { return r->network; }, "The network.");
}

void bind_covering_result(py::module_& m) {
  py::class_<CoveringResult, CoveringPtr>(
      m, "Covering", "The result of covering(); str() is crninv --covering's text.")
      .def("__str__",
           [](const CoveringPtr& r) { return covering_text(r->network->network(), r->value); })
      .def(
          "to_json",
          [](const CoveringPtr& r) { return covering_json(r->network->network(), r->value); },
          "crninv --covering --json's document, as a str.")
      .def_property_readonly(
          "species",
          [](const CoveringPtr& r) {
            return names_at(r->network->species_names(), r->value.species.covered);
          },
          "The species that some P-semiflow covers.")
      .def_property_readonly(
          "reactions",
          [](const CoveringPtr& r) {
            return names_at(r->network->reaction_names(), r->value.reactions.covered);
          },
          "The reactions that some T-semiflow covers.")
      .def_property_readonly(
          "conservative", [](const CoveringPtr& r) { return r->value.conservative; },
          "Every species covered.")
      .def_property_readonly(
          "consistent", [](const CoveringPtr& r) { return r->value.consistent; },
          "Every reaction covered.")
      .def_property_readonly(
          "species_certificate",
          [](const CoveringPtr& r) { return certificate(*r, r->value.species, true); },
          "A P-semiflow whose support is the covered species: name -> int.")
      .def_property_readonly(
          "reaction_certificate",
          [](const CoveringPtr& r) { return certificate(*r, r->value.reactions, false); },
          "A T-semiflow whose support is the covered reactions: name -> int.")
      .def_property_readonly(
          "network", [](const CoveringPtr& r) { return r->network; }, "The network.");
}

}  // namespace

void bind_structure(py::module_& m) {
  bind_structure_result(m);
  bind_sets_result(m);
  bind_covering_result(m);
  m.def("structure", &compute_structure, py::arg("network"), py::kw_only(),
        py::arg("progress") = py::none(), py::arg("memory_budget") = py::none(), kStructureDoc);
  m.def(
      "siphons",
      [](const NetworkPtr& n, std::optional<uint64_t> cap, bool with_persistence,
         std::optional<unsigned> threads, py::object progress, std::optional<uint64_t> budget) {
        return compute_sets(n, SiphonOptions::kSiphons, cap, with_persistence, threads,
                            std::move(progress), budget);
      },
      py::arg("network"), py::arg("max_siphons") = py::none(), py::arg("persistence") = true,
      py::kw_only(), py::arg("threads") = py::none(), py::arg("progress") = py::none(),
      py::arg("memory_budget") = py::none(), kSiphonsDoc);
  m.def(
      "traps",
      [](const NetworkPtr& n, std::optional<uint64_t> cap, std::optional<unsigned> threads,
         py::object progress, std::optional<uint64_t> budget) {
        return compute_sets(n, SiphonOptions::kTraps, cap, false, threads, std::move(progress),
                            budget);
      },
      py::arg("network"), py::arg("max_traps") = py::none(), py::kw_only(),
      py::arg("threads") = py::none(), py::arg("progress") = py::none(),
      py::arg("memory_budget") = py::none(), kTrapsDoc);
  m.def("covering", &compute_covering, py::arg("network"), py::kw_only(),
        py::arg("progress") = py::none(), py::arg("memory_budget") = py::none(), kCoveringDoc);
}

}  // namespace crninv::python
