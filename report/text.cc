// The report's sections: a heading, then one line per row of the section,
// a tab and the row's terms ("+1 name -2 name "), zero entries left out.
#include <cstdint>

#include "crninv/report.h"
#include "report/output.h"

namespace crninv {

namespace {

// The headings of the three sections, for the species and for the
// reactions, whose rows combine reactions: their flows have no net effect
// on any species, their inequalities would be flows without the species
// they name.
constexpr const char* kSpeciesHeadings[] = {"Flows (== constant):\n",
                                            "\nInequalities (remove reactions, <= constant):\n",
                                            "\nIrreducible:\n"};
constexpr const char* kReactionHeadings[] = {
    "Flows (no net change):\n", "\nInequalities (remove species, one-signed change):\n",
    "\nIrreducible:\n"};

constexpr char kSpeciesSemiflowsHeading[] = "Semiflows (minimal, non-negative, == constant):\n";
constexpr char kReactionSemiflowsHeading[] = "Semiflows (minimal, non-negative, no net change):\n";

// Appends row k of rows as "\t+1 name -2 name \n", the columns named by
// names.
template <typename Names>
void print_row(const IntegerRows& rows, uint32_t k, const Names& names, std::string& line) {
  line += '\t';
  for (uint64_t e = rows.start[k]; e < rows.start[k + 1]; ++e) {
    append_coefficient(line, rows, e);
    line += names[rows.column[e]];
    line += ' ';
  }
  line += '\n';
}

}  // namespace

void write_report(const Network& network, const Invariants& invariants, const Write& write) {
  bool t = invariants.of_reactions;
  ColumnNames names{t ? network.species() : network.reactions(),
                    t ? network.reactions() : network.species()};
  const char* const* headings = t ? kReactionHeadings : kSpeciesHeadings;
  const RowClass sections[] = {RowClass::kFlow, RowClass::kInequality, RowClass::kIrreducible};
  Output out(write);
  for (int s = 0; s < 3; ++s) {
    out.text() += headings[s];
    for (uint32_t k = 0; k < invariants.rows.size(); ++k) {
      if (invariants.classes[k] != sections[s]) continue;
      print_row(invariants.rows, k, names, out.text());
      out.maybe_flush();
    }
  }
}

void write_semiflows(const Network& network, const Semiflows& semiflows, const Write& write) {
  bool t = semiflows.of_reactions;
  const std::vector<std::string>& names = t ? network.reactions() : network.species();
  Output out(write);
  out.text() += t ? kReactionSemiflowsHeading : kSpeciesSemiflowsHeading;
  for (uint32_t k = 0; k < semiflows.vectors.size(); ++k) {
    print_row(semiflows.vectors, k, names, out.text());
    out.maybe_flush();
  }
}

}  // namespace crninv
