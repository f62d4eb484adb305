// The structure as one JSON document: the members are listed in
// man crninv (--structure). Indices count from 0; each array of objects
// has one object a line.
#include <string>
#include <string_view>
#include <vector>

#include "base/json_text.h"
#include "crninv/structure.h"

namespace crninv {

namespace {

void append_indices(std::string& out, const std::vector<uint32_t>& indices) {
  out += '[';
  for (size_t i = 0; i < indices.size(); ++i) {
    if (i > 0) out += ", ";
    out += std::to_string(indices[i]);
  }
  out += ']';
}

const char* boolean(bool b) {
  return b ? "true" : "false";
}

// ,\n "key": [\n  item,\n  item\n ]: one item a line, each written by item(i).
template <typename Item>
void append_array(std::string& out, const char* key, size_t count, Item item) {
  out += ",\n \"";
  out += key;
  out += "\": [";
  for (size_t i = 0; i < count; ++i) {
    out += i == 0 ? "\n  " : ",\n  ";
    item(i);
  }
  out += count == 0 ? "]" : "\n ]";
}

void append_named(std::string& out, size_t index, const std::string& name) {
  out += "{\"index\": " + std::to_string(index) + ", \"name\": ";
  append_json_string(out, name);
}

void append_network(std::string& out, const Network& network, const Structure& s) {
  out += "{\"species\": [";
  for (uint32_t k = 0; k < network.species_count(); ++k) {
    out += k == 0 ? "\n  " : ",\n  ";
    append_named(out, k, network.species()[k]);
    out += '}';
  }
  out += network.species_count() == 0 ? "]" : "\n ]";
  append_array(out, "reactions", s.reactant.size(), [&](size_t j) {
    append_named(out, j, network.reactions()[j]);
    out += ", \"reactant\": " + std::to_string(s.reactant[j]) +
           ", \"product\": " + std::to_string(s.product[j]) + '}';
  });
  // A complex as an object from species name to coefficient, {} for the
  // empty complex.
  append_array(out, "complexes", s.complexes.size(), [&](size_t c) {
    out += '{';
    const std::vector<Term>& terms = s.complexes[c];
    for (size_t t = 0; t < terms.size(); ++t) {
      if (t > 0) out += ", ";
      append_json_string(out, network.species()[terms[t].species]);
      out += ": " + std::to_string(terms[t].coefficient);
    }
    out += '}';
  });
}

// The classes as arrays of complex numbers, the terminal strong classes by
// number, then what the report says of each linkage class.
void append_classes(std::string& out, const Structure& s) {
  append_array(out, "linkage_classes", s.linkage_classes.size(),
               [&](size_t i) { append_indices(out, s.linkage_classes[i].complexes); });
  append_array(out, "strong_linkage_classes", s.strong_classes.size(),
               [&](size_t i) { append_indices(out, s.strong_classes[i].complexes); });
  std::vector<uint32_t> terminal;
  for (uint32_t i = 0; i < s.strong_classes.size(); ++i) {
    if (s.strong_classes[i].terminal) terminal.push_back(i);
  }
  out += ",\n \"terminal\": ";
  append_indices(out, terminal);
  append_array(out, "linkage_class_details", s.linkage_classes.size(), [&](size_t i) {
    const LinkageClass& l = s.linkage_classes[i];
    out += "{\"index\": " + std::to_string(i) + ", \"reactions\": ";
    append_indices(out, l.reactions);
    out += ", \"strong_linkage_classes\": ";
    append_indices(out, l.strong_classes);
    out += ", \"rank\": " + std::to_string(l.rank) +
           ", \"deficiency\": " + std::to_string(l.deficiency) +
           ", \"terminal_classes\": " + std::to_string(l.terminal_classes) + '}';
  });
}

const char* zero_outcome(DeficiencyZeroVerdict::Outcome o) {
  switch (o) {
    case DeficiencyZeroVerdict::kNoPositiveEquilibrium:
      return "no_positive_equilibrium";
    case DeficiencyZeroVerdict::kUniqueStableEquilibrium:
      return "unique_stable_equilibrium";
    case DeficiencyZeroVerdict::kNotApplicable:
      break;
  }
  return "not_applicable";
}

const char* one_outcome(DeficiencyOneVerdict::Outcome o) {
  switch (o) {
    case DeficiencyOneVerdict::kDeficiencyZero:
      return "deficiency_zero";
    case DeficiencyOneVerdict::kAtMostOneEquilibrium:
      return "at_most_one_equilibrium";
    case DeficiencyOneVerdict::kExactlyOneEquilibrium:
      return "exactly_one_equilibrium";
    case DeficiencyOneVerdict::kNotApplicable:
      break;
  }
  return "not_applicable";
}

void append_verdicts(std::string& out, const Network& network, const Structure& s) {
  out += ",\n \"rank\": " + std::to_string(s.rank) +
         ",\n \"deficiency\": " + std::to_string(s.deficiency) +
         ",\n \"reversible\": " + boolean(s.reversible) +
         ",\n \"weakly_reversible\": " + boolean(s.weakly_reversible);
  out += ",\n \"deficiency_zero_theorem\": {\"verdict\": \"";
  out += zero_outcome(s.deficiency_zero.outcome);
  out += "\", \"text\": ";
  append_json_string(out, s.deficiency_zero.wording);
  const DeficiencyOneVerdict& one = s.deficiency_one;
  out += "},\n \"deficiency_one_theorem\": {\"verdict\": \"";
  out += one_outcome(one.outcome);
  out += "\", \"classes_above_one\": ";
  append_indices(out, one.classes_above_one);
  out += ", \"class_deficiency_sum\": " + std::to_string(one.class_deficiency_sum);
  out += ", \"classes_with_several_terminals\": ";
  append_indices(out, one.classes_with_several_terminals);
  out += ", \"text\": ";
  append_json_string(out, one.wording);
  out += "},\n \"absolute_concentration_robustness\": {\"applies\": ";
  out += boolean(s.robustness.applies);
  out += ", \"species\": [";
  for (size_t i = 0; i < s.robustness.species.size(); ++i) {
    const RobustSpecies& r = s.robustness.species[i];
    if (i > 0) out += ", ";
    append_named(out, r.species, network.species()[r.species]);
    out += ", \"complexes\": [" + std::to_string(r.complexes[0]) + ", " +
           std::to_string(r.complexes[1]) + "]}";
  }
  out += "], \"text\": ";
  append_json_string(out, s.robustness.wording);
  out += "}}\n";
}

}  // namespace

std::string structure_json(const Network& network, const Structure& s) {
  std::string out;
  append_network(out, network, s);
  append_classes(out, s);
  append_verdicts(out, network, s);
  return out;
}

}  // namespace crninv
