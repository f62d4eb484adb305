#include "convert/sbml_network.h"

#include <unordered_set>

LIBSBML_CPP_NAMESPACE_USE

namespace {

// Why the stoichiometry of ref has no fixed number, or "" when it has.
std::string stoichiometry_problem(const Model& model, const SpeciesReference& ref) {
  const std::string& who = ref.getSpecies();
  if (ref.getLevel() < 3) {
    if (ref.isSetStoichiometryMath()) return "stoichiometry of " + who + " is a formula";
    return "";
  }
  if (ref.isSetId()) {
    if (model.getInitialAssignmentBySymbol(ref.getId()) != nullptr)
      return "stoichiometry of " + who + " is set by an initial assignment";
    if (model.getRule(ref.getId()) != nullptr)
      return "stoichiometry of " + who + " is set by a rule";
  }
  if (!ref.isSetStoichiometry()) return "stoichiometry of " + who + " is not given";
  return "";
}

double stoichiometry_of(const SpeciesReference& ref) {
  double value = ref.getStoichiometry();
  // Level 1 writes a fraction as stoichiometry and denominator.
  if (ref.getLevel() == 1 && ref.getDenominator() != 0) value /= ref.getDenominator();
  return value;
}

void add_terms(const Model& model, const ListOfSpeciesReferences& refs, bool reactant,
               SbmlReaction& reaction) {
  for (unsigned i = 0; i < refs.size(); ++i) {
    const auto* ref = static_cast<const SpeciesReference*>(refs.get(i));
    std::string problem = stoichiometry_problem(model, *ref);
    if (!problem.empty() && reaction.problem.empty()) reaction.problem = problem;
    double value = problem.empty() ? stoichiometry_of(*ref) : 0;
    reaction.terms.push_back({ref->getSpecies(), reactant ? -value : value, reactant});
  }
}

}  // namespace

SbmlNetwork read_network(const Model& model) {
  SbmlNetwork network;
  std::unordered_set<std::string> known;
  for (unsigned i = 0; i < model.getNumSpecies(); ++i) {
    const std::string& id = model.getSpecies(i)->getId();
    if (known.insert(id).second) network.species.push_back(id);
  }
  network.declared = static_cast<unsigned>(network.species.size());
  for (unsigned i = 0; i < model.getNumReactions(); ++i) {
    const Reaction& r = *model.getReaction(i);
    SbmlReaction reaction;
    reaction.id = r.getId();
    add_terms(model, *r.getListOfReactants(), true, reaction);
    add_terms(model, *r.getListOfProducts(), false, reaction);
    for (const SbmlTerm& term : reaction.terms) {
      if (known.insert(term.species).second) network.species.push_back(term.species);
    }
    network.reactions.push_back(std::move(reaction));
  }
  return network;
}
