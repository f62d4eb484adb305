// The conserved moieties as text and as JSON: the laws as the flows are
// written, the species each eliminates, and the link matrix by rows.
#include <gmpxx.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/json_text.h"
#include "crninv/report.h"
#include "report/output.h"

namespace crninv {

namespace {

// Appends "\t" and the terms of law k: "+1 A +1 B ".
void append_law(std::string& text, const Network& network, const IntegerRows& laws, uint32_t k) {
  text += '\t';
  for (uint64_t e = laws.start[k]; e < laws.start[k + 1]; ++e) {
    append_coefficient(text, laws, e);
    text += network.species()[laws.column[e]];
    text += ' ';
  }
  text += '\n';
}

// Appends the fraction n/d in lowest terms, signed: "+1", "-3/2" (d > 0).
void append_fraction(std::string& text, const Integer& n, const Integer& d) {
  mpz_class a(n.to_string()), b(d.to_string());
  mpz_class g = gcd(a, b);
  a /= g;
  b /= g;
  if (a > 0) text += '+';
  text += a.get_str();
  if (b != 1) {
    text += '/';
    text += b.get_str();
  }
}

void append_names(std::string& text, const Network& network, const std::vector<uint32_t>& list) {
  for (uint32_t s : list) {
    text += '\t';
    text += network.species()[s];
    text += '\n';
  }
}

void append_json_name(std::string& text, const std::vector<std::string>& names, uint32_t index) {
  text += "{\"index\": ";
  text += std::to_string(index);
  text += ", \"name\": ";
  append_json_string(text, names[index]);
  text += '}';
}

// ",\n \"key\": [{\"index\": ..., \"name\": ...}, ...]" for the listed
// indices of names, or for all of them when list is null.
void append_json_names(Output& out, const char* key, const std::vector<std::string>& names,
                       const std::vector<uint32_t>* list) {
  std::string& text = out.text();
  text += ",\n \"";
  text += key;
  text += "\": [";
  size_t count = list != nullptr ? list->size() : names.size();
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) text += ", ";
    append_json_name(text, names, list != nullptr ? (*list)[i] : static_cast<uint32_t>(i));
    out.maybe_flush();
  }
  text += ']';
}

// [{"index": s, "name": ..., "coefficient": c}, ...] for the entries of row
// k, column j standing for species (*map)[j] (j itself when map is null).
void append_json_terms(std::string& text, const Network& network, const IntegerRows& rows,
                       uint32_t k, const std::vector<uint32_t>* map) {
  text += '[';
  for (uint64_t e = rows.start[k]; e < rows.start[k + 1]; ++e) {
    uint32_t s = map != nullptr ? (*map)[rows.column[e]] : rows.column[e];
    text += e == rows.start[k] ? "{\"index\": " : ", {\"index\": ";
    text += std::to_string(s);
    text += ", \"name\": ";
    append_json_string(text, network.species()[s]);
    text += ", \"coefficient\": ";
    append_value(text, rows, e);
    text += '}';
  }
  text += ']';
}

}  // namespace

void write_moieties(const Network& network, const ConservedMoieties& m, const Write& write) {
  Output out(write);
  std::string& text = out.text();
  text += "Conservation laws (reduced row-echelon form, == constant):\n";
  for (uint32_t k = 0; k < m.laws.size(); ++k) {
    append_law(text, network, m.laws, k);
    out.maybe_flush();
  }
  text += "\nDependent species (the first species of each law):\n";
  append_names(text, network, m.dependent);
  text += "\nIndependent species:\n";
  append_names(text, network, m.independent);
  text += "\nLink matrix (the change of each dependent species from the independent ones):\n";
  for (uint32_t k = 0; k < m.link.size(); ++k) {
    text += '\t';
    text += network.species()[m.dependent[k]];
    text += ':';
    for (uint64_t e = m.link.start[k]; e < m.link.start[k + 1]; ++e) {
      text += ' ';
      append_fraction(text, m.link.at(e), m.denominator[k]);
      text += ' ';
      text += network.species()[m.independent[m.link.column[e]]];
    }
    text += " \n";
    out.maybe_flush();
  }
}

void write_moieties_json(const Network& network, const ConservedMoieties& m, const Write& write) {
  Output out(write);
  std::string& text = out.text();
  text += "{\"moieties_of\": \"species\"";
  append_json_names(out, "species", network.species(), nullptr);
  append_json_names(out, "reactions", network.reactions(), nullptr);
  text += ",\n \"laws\": [";
  for (uint32_t k = 0; k < m.laws.size(); ++k) {
    text += k == 0 ? "\n  {\"species\": " : ",\n  {\"species\": ";
    append_json_terms(text, network, m.laws, k, nullptr);
    text += '}';
    out.maybe_flush();
  }
  text += m.laws.size() == 0 ? "]" : "\n ]";
  append_json_names(out, "dependent", network.species(), &m.dependent);
  append_json_names(out, "independent", network.species(), &m.independent);
  text += ",\n \"link_matrix\": [";
  for (uint32_t k = 0; k < m.link.size(); ++k) {
    text += k == 0 ? "\n  {\"dependent\": " : ",\n  {\"dependent\": ";
    append_json_name(text, network.species(), m.dependent[k]);
    text += ", \"denominator\": ";
    text += m.denominator[k].to_string();
    text += ", \"independent\": ";
    append_json_terms(text, network, m.link, k, &m.independent);
    text += '}';
    out.maybe_flush();
  }
  text += m.link.size() == 0 ? "]}\n" : "\n ]}\n";
}

}  // namespace crninv
