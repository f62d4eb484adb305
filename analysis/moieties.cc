// Conserved moieties from the flows of the wide invariants: the reduced
// row-echelon form is unique, so the choice of the dependent species is
// the same whatever computed it.
#include "crninv/moieties.h"

#include <string>
#include <utility>

#include "crninv/invariants.h"

namespace crninv {

namespace {

constexpr uint32_t kDependent = UINT32_MAX;

// -v, exactly.
Integer negated(const Integer& v) {
  if (v.fits_int64() && v.to_int64() != INT64_MIN) return Integer(-v.to_int64());
  std::string digits = v.to_string();
  return Integer::from_decimal(digits[0] == '-' ? digits.substr(1) : "-" + digits);
}

// The flows of result, their columns made species.
IntegerRows laws_of(const Invariants& result) {
  IntegerRows laws;
  const IntegerRows& rows = result.rows;
  for (uint32_t k = 0; k < rows.size(); ++k) {
    if (result.classes[k] != RowClass::kFlow) continue;
    for (uint64_t e = rows.start[k]; e < rows.start[k + 1]; ++e) {
      laws.push(rows.column[e] - result.effects, rows.at(e));
    }
    laws.end_row();
  }
  return laws;
}

// Each law's row of L: its coefficients of the independent species,
// negated, over its leading coefficient. The law is zero on every other
// dependent species (reduced form), so each term lands on an independent
// column.
void link_rows(ConservedMoieties& m, const std::vector<uint32_t>& position) {
  const IntegerRows& laws = m.laws;
  for (uint32_t k = 0; k < laws.size(); ++k) {
    uint64_t lead = laws.start[k];
    m.denominator.push_back(laws.at(lead));
    for (uint64_t e = lead + 1; e < laws.start[k + 1]; ++e) {
      m.link.push(position[laws.column[e]], negated(laws.at(e)));
    }
    m.link.end_row();
  }
}

}  // namespace

ConservedMoieties conserved_moieties(const Network& network, const Control& control) {
  InvariantOptions options;
  options.wide = true;
  ConservedMoieties m;
  {
    Invariants result = invariants(network, options, control);
    m.laws = laws_of(result);
  }
  std::vector<uint32_t> position(network.species_count(), 0);
  for (uint32_t k = 0; k < m.laws.size(); ++k) {
    uint32_t lead = m.laws.column[m.laws.start[k]];
    m.dependent.push_back(lead);
    position[lead] = kDependent;
  }
  for (uint32_t s = 0; s < network.species_count(); ++s) {
    if (position[s] == kDependent) continue;
    position[s] = static_cast<uint32_t>(m.independent.size());
    m.independent.push_back(s);
  }
  link_rows(m, position);
  return m;
}

SparseMatrix reduced_stoichiometry(const Network& network, const ConservedMoieties& moieties) {
  const SparseMatrix& n = network.stoichiometry();
  SparseMatrix r;
  r.columns = n.columns;
  for (uint32_t s : moieties.independent) {
    n.for_each_in_row(s, [&](uint32_t j, int64_t v) {
      r.column.push_back(j);
      r.value.push_back(v);
    });
    r.end_row();
  }
  return r;
}

}  // namespace crninv
