// The directions in which the model lets a reaction run: fbc's flux bounds
// where it gives them, SBML's reversible attribute elsewhere.
#ifndef CRNINV_CONVERT_SBML_DIRECTION_H_
#define CRNINV_CONVERT_SBML_DIRECTION_H_

#include <sbml/SBMLTypes.h>

#include <string>
#include <unordered_map>

#include "convert/sbml_stoichiometry.h"
#include "crninv/sbml.h"

namespace crninv::convert {

class DirectionReader {
 public:
  // The model and the reader must outlive this one.
  DirectionReader(const LIBSBML_CPP_NAMESPACE_QUALIFIER Model& model, StoichiometryReader& values);

  // Both directions when the lower bound is below 0 and the upper one
  // above; the reverse alone when the upper bound is 0 or less and the
  // lower one below 0; else forward. A bound that is not given, or whose
  // value is unknown, is that of COBRA's reading: the upper one +infinity,
  // the lower one -infinity for a reversible reaction and 0 for another.
  ConvertedReaction::Direction direction(const LIBSBML_CPP_NAMESPACE_QUALIFIER Reaction& reaction);

 private:
  struct Bounds {
    double lower, upper;  // NaN where not given
  };
  Bounds flux_bounds(const LIBSBML_CPP_NAMESPACE_QUALIFIER Reaction& reaction);

  StoichiometryReader& values;
  // fbc Version 1: the model's list of flux bounds, by reaction id, each
  // the tightest given.
  std::unordered_map<std::string, Bounds> listed;
};

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_SBML_DIRECTION_H_
