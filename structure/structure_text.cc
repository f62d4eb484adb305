// The report for a reader: the numbers first, then what the theorems
// conclude, then the complexes, the reaction graph and the classes, one
// item a line. Complexes, classes and strong classes are named C1, L1 and
// SL1 (from 1, as the reactions are); a complex is written as a side is,
// "2 A + B", and the empty complex "0".
#include <string>
#include <vector>

#include "crninv/structure.h"

namespace crninv {

namespace {

void append_complex(std::string& out, const Network& network, const std::vector<Term>& terms) {
  if (terms.empty()) out += '0';
  for (size_t t = 0; t < terms.size(); ++t) {
    if (t > 0) out += " + ";
    if (terms[t].coefficient != 1) out += std::to_string(terms[t].coefficient) + ' ';
    out += network.species()[terms[t].species];
  }
}

std::string label(const char* prefix, uint32_t index) {
  return prefix + std::to_string(index + 1);
}

void append_labels(std::string& out, const char* prefix, const std::vector<uint32_t>& indices) {
  for (size_t i = 0; i < indices.size(); ++i) {
    if (i > 0) out += ' ';
    out += label(prefix, indices[i]);
  }
}

void append_line(std::string& out, const std::string& text) {
  out += '\t';
  out += text;
  out += '\n';
}

const char* yes_no(bool b) {
  return b ? "yes" : "no";
}

void append_summary(std::string& out, const Network& network, const Structure& s) {
  out += "Network structure:\n";
  append_line(out, "species: " + std::to_string(network.species_count()));
  append_line(out, "reactions: " + std::to_string(network.reaction_count()));
  append_line(out, "complexes (n): " + std::to_string(s.complexes.size()));
  append_line(out, "linkage classes (l): " + std::to_string(s.linkage_classes.size()));
  append_line(out, "strong linkage classes: " + std::to_string(s.strong_classes.size()) +
                       ", terminal: " + std::to_string(s.terminal_classes));
  append_line(out, "rank of N (s): " + std::to_string(s.rank));
  append_line(out, "deficiency (n - l - s): " + std::to_string(s.deficiency));
  append_line(out, std::string("reversible: ") + yes_no(s.reversible));
  append_line(out, std::string("weakly reversible: ") + yes_no(s.weakly_reversible));
}

void append_theorems(std::string& out, const Network& network, const Structure& s) {
  out += "\nDeficiency zero theorem:\n";
  append_line(out, s.deficiency_zero.wording);
  out += "\nDeficiency one theorem:\n";
  append_line(out, s.deficiency_one.wording);
  const DeficiencyOneVerdict& one = s.deficiency_one;
  if (one.outcome == DeficiencyOneVerdict::kNotApplicable) {
    if (!one.classes_above_one.empty()) {
      std::string line = "linkage classes of deficiency above 1: ";
      append_labels(line, "L", one.classes_above_one);
      append_line(out, line);
    }
    if (!one.classes_with_several_terminals.empty()) {
      std::string line = "linkage classes with more than one terminal strong linkage class: ";
      append_labels(line, "L", one.classes_with_several_terminals);
      append_line(out, line);
    }
  }
  out += "\nAbsolute concentration robustness (Shinar-Feinberg criterion):\n";
  append_line(out, s.robustness.wording);
  for (const RobustSpecies& r : s.robustness.species) {
    std::string line = network.species()[r.species] + ": non-terminal complexes ";
    for (int i = 0; i < 2; ++i) {
      line += label("C", r.complexes[i]) + " = ";
      append_complex(line, network, s.complexes[r.complexes[i]]);
      if (i == 0) line += " and ";
    }
    append_line(out, line);
  }
}

void append_graph(std::string& out, const Network& network, const Structure& s) {
  out += "\nComplexes:\n";
  for (uint32_t c = 0; c < s.complexes.size(); ++c) {
    std::string line = label("C", c) + " = ";
    append_complex(line, network, s.complexes[c]);
    append_line(out, line);
  }
  out += "\nReactions (reactant complex -> product complex):\n";
  for (uint32_t j = 0; j < s.reactant.size(); ++j) {
    append_line(out, network.reactions()[j] + ": " + label("C", s.reactant[j]) + " -> " +
                         label("C", s.product[j]));
  }
  out += "\nLinkage classes (complexes; reactions, rank, deficiency):\n";
  for (uint32_t i = 0; i < s.linkage_classes.size(); ++i) {
    const LinkageClass& l = s.linkage_classes[i];
    std::string line = label("L", i) + ": ";
    append_labels(line, "C", l.complexes);
    line += "; " + std::to_string(l.reactions.size()) +
            (l.reactions.size() == 1 ? " reaction, rank " : " reactions, rank ") +
            std::to_string(l.rank) + ", deficiency " + std::to_string(l.deficiency);
    append_line(out, line);
  }
  out += "\nStrong linkage classes (linkage class, terminal or not: complexes):\n";
  for (uint32_t i = 0; i < s.strong_classes.size(); ++i) {
    const StrongClass& k = s.strong_classes[i];
    std::string line = label("SL", i) + " in " + label("L", k.linkage_class) +
                       (k.terminal ? ", terminal: " : ", not terminal: ");
    append_labels(line, "C", k.complexes);
    append_line(out, line);
  }
}

}  // namespace

std::string structure_text(const Network& network, const Structure& s) {
  std::string out;
  append_summary(out, network, s);
  append_theorems(out, network, s);
  append_graph(out, network, s);
  return out;
}

}  // namespace crninv
