// Whole-number coefficients for a reaction whose stoichiometries may be
// decimal fractions (biomass reactions of metabolic models).
#ifndef CRNINV_CONVERT_STOICHIOMETRY_H_
#define CRNINV_CONVERT_STOICHIOMETRY_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace crninv::convert {

struct Scaling {
  bool ok = false;
  int32_t factor = 1;           // what every stoichiometry was multiplied by
  std::vector<int32_t> values;  // the products, signed, in input order
  // When !ok: the index of the stoichiometry at fault and why, worded to
  // follow "stoichiometry of X "; or values.size() and a whole sentence
  // when no single stoichiometry is at fault.
  size_t culprit = 0;
  std::string reason;
};

// Multiplies all stoichiometries of one reaction by their least common
// denominator, reading each as the shortest decimal that gives back the
// same double (0.1 is 1/10). Fails, with a reason, for a value that is not
// finite, a denominator or a product above 2147483647.
Scaling scale_to_integers(const std::vector<double>& values);

// The shortest decimal text that reads back as the same double.
std::string shortest_text(double value);

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_STOICHIOMETRY_H_
