// The reactions of an SBML model as plain data: species ids with signed
// stoichiometries, or the reason why a stoichiometry has no fixed number.
#ifndef CRNINV_CONVERT_SBML_NETWORK_H_
#define CRNINV_CONVERT_SBML_NETWORK_H_

#include <sbml/SBMLTypes.h>

#include <string>
#include <vector>

#include "crninv/sbml.h"

namespace crninv::convert {

struct SbmlTerm {
  std::string species;   // the species id as in the model
  double stoichiometry;  // as in the model, negative for a reactant; 0 with a problem
  bool reactant;         // listed among the reactants
  bool boundary;         // a boundary species: reactions do not change it
  bool varies;           // the stoichiometry changes over time
  std::string problem;   // non-empty: no number, and why, to follow "stoichiometry of X "
};

struct SbmlReaction {
  std::string id;
  ConvertedReaction::Direction direction;
  std::vector<SbmlTerm> terms;  // reactants first, then products, in model order
};

struct SbmlNetwork {
  std::vector<std::string> species;  // declared ids, then undeclared ones met in reactions
  unsigned declared = 0;             // how many of species are declared
  std::vector<SbmlReaction> reactions;
};

// Modifiers are left out: they take part in a reaction without being
// changed by it.
SbmlNetwork read_network(const LIBSBML_CPP_NAMESPACE_QUALIFIER Model& model);

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_SBML_NETWORK_H_
