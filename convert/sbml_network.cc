#include "convert/sbml_network.h"

#include <unordered_set>

#include "convert/sbml_direction.h"
#include "convert/sbml_stoichiometry.h"

LIBSBML_CPP_NAMESPACE_USE

namespace crninv::convert {

namespace {

void add_terms(const Model& model, StoichiometryReader& stoichiometries,
               const ListOfSpeciesReferences& refs, bool reactant, SbmlReaction& reaction) {
  for (unsigned i = 0; i < refs.size(); ++i) {
    const auto* ref = static_cast<const SpeciesReference*>(refs.get(i));
    const Species* species = model.getSpecies(ref->getSpecies());
    Stoichiometry s = stoichiometries.read(*ref);
    double value = s.kind == Stoichiometry::CONSTANT ? s.value : 0;
    reaction.terms.push_back({ref->getSpecies(), reactant ? -value : value, reactant,
                              species != nullptr && species->getBoundaryCondition(),
                              s.kind == Stoichiometry::VARYING, s.reason});
  }
}

}  // namespace

SbmlNetwork read_network(const Model& model) {
  SbmlNetwork network;
  StoichiometryReader stoichiometries(model);
  DirectionReader directions(model, stoichiometries);
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
    reaction.direction = directions.direction(r);
    add_terms(model, stoichiometries, *r.getListOfReactants(), true, reaction);
    add_terms(model, stoichiometries, *r.getListOfProducts(), false, reaction);
    for (const SbmlTerm& term : reaction.terms) {
      if (known.insert(term.species).second) network.species.push_back(term.species);
    }
    network.reactions.push_back(std::move(reaction));
  }
  return network;
}

}  // namespace crninv::convert
