// Whole-number coefficients for a reaction whose stoichiometries may be
// fractions: decimals (biomass reactions of metabolic models), or values
// with float noise that stand for a fraction (rational.h).
#ifndef CRNINV_CONVERT_STOICHIOMETRY_H_
#define CRNINV_CONVERT_STOICHIOMETRY_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/rational.h"

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
  // When !ok: the stoichiometry at fault is no fraction with a small
  // denominator, so the model has no rational matrix.
  bool no_fraction = false;
  // When ok: each value as a fraction in lowest terms, and the indices of
  // those read within their precision rather than exactly.
  std::vector<Fraction> fractions;
  std::vector<size_t> approximated;
};

// Multiplies all stoichiometries of one reaction by their least common
// denominator, reading each as read_fraction does (0.1 is 1/10,
// 4.33333333333333 is 13/3). Fails, with a reason, for a value that is
// not finite, no fraction, or a denominator or a product above 2147483647.
Scaling scale_to_integers(const std::vector<double>& values);

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_STOICHIOMETRY_H_
