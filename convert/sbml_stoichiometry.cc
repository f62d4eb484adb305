#include "convert/sbml_stoichiometry.h"

#include <sbml/SBMLTransforms.h>

#include <cmath>

LIBSBML_CPP_NAMESPACE_USE

namespace {

// Every name that a formula mentions.
void names_in(const ASTNode* node, std::unordered_set<std::string>& names) {
  if (node == nullptr) return;
  if (node->isName() && node->getName() != nullptr) names.insert(node->getName());
  for (unsigned i = 0; i < node->getNumChildren(); ++i) names_in(node->getChild(i), names);
}

}  // namespace

StoichiometryReader::StoichiometryReader(const Model& model) : model(model) {
  for (unsigned i = 0; i < model.getNumRules(); ++i) {
    const Rule* rule = model.getRule(i);
    if (rule->isAlgebraic()) {
      names_in(rule->getMath(), in_algebraic_rules);
    } else {
      rule_of.emplace(rule->getVariable(), rule);
    }
  }
  for (unsigned i = 0; i < model.getNumEvents(); ++i) {
    const Event* event = model.getEvent(i);
    for (unsigned j = 0; j < event->getNumEventAssignments(); ++j) {
      set_by_events.insert(event->getEventAssignment(j)->getVariable());
    }
  }
  // Species that reactions change; boundary and constant species are not.
  for (unsigned i = 0; i < model.getNumReactions(); ++i) {
    const Reaction* r = model.getReaction(i);
    for (const ListOfSpeciesReferences* refs : {r->getListOfReactants(), r->getListOfProducts()}) {
      for (unsigned j = 0; j < refs->size(); ++j) {
        const std::string& id =
            static_cast<const SimpleSpeciesReference*>(refs->get(j))->getSpecies();
        const Species* s = model.getSpecies(id);
        if (s == nullptr || (!s->getBoundaryCondition() && !s->getConstant())) {
          changed_by_reactions.insert(id);
        }
      }
    }
  }
}

Stoichiometry StoichiometryReader::read(const SpeciesReference& ref) {
  Stoichiometry result;
  if (ref.getLevel() < 3) {
    if (ref.isSetStoichiometryMath())
      return evaluated(ref.getStoichiometryMath()->getMath(), "a formula");
    result.value = ref.getStoichiometry();
    // Level 1 writes a fraction as stoichiometry and denominator.
    if (ref.getLevel() == 1 && ref.getDenominator() != 0) result.value /= ref.getDenominator();
    return result;
  }
  if (ref.isSetId()) {
    const std::string& id = ref.getId();
    auto rule = rule_of.find(id);
    if (rule != rule_of.end()) {
      if (rule->second->isRate()) return {Stoichiometry::VARYING, 0, "is set by a rate rule"};
      return evaluated(rule->second->getMath(), "a rule");
    }
    if (set_by_events.count(id) != 0) return {Stoichiometry::VARYING, 0, "is set by an event"};
    if (in_algebraic_rules.count(id) != 0 && !ref.getConstant()) {
      return {Stoichiometry::VARYING, 0, "is set by an algebraic rule"};
    }
    // Evaluated once, at time 0, when libSBML could not expand it.
    const InitialAssignment* assignment = model.getInitialAssignmentBySymbol(id);
    if (assignment != nullptr)
      return value_at_start(assignment->getMath(), "an initial assignment");
  }
  if (!ref.isSetStoichiometry()) return {Stoichiometry::UNKNOWN, 0, "is not given"};
  result.value = ref.getStoichiometry();
  return result;
}

// A formula that holds for all time: a formula of constants keeps its
// value at time 0 for ever.
Stoichiometry StoichiometryReader::evaluated(const ASTNode* math, const std::string& what) {
  if (math_varies(math)) {
    return {Stoichiometry::VARYING, 0, "is set by " + what + " whose value changes over time"};
  }
  return value_at_start(math, what);
}

Stoichiometry StoichiometryReader::value_at_start(const ASTNode* math, const std::string& what) {
  if (math == nullptr) return {Stoichiometry::UNKNOWN, 0, "is set by " + what + " without math"};
  double value = SBMLTransforms::evaluateASTNode(math, &model);
  if (!std::isfinite(value)) {
    return {Stoichiometry::UNKNOWN, 0, "is set by " + what + " that cannot be evaluated"};
  }
  return {Stoichiometry::CONSTANT, value, ""};
}

bool StoichiometryReader::math_varies(const ASTNode* node) {
  if (node == nullptr) return false;
  ASTNodeType_t type = node->getType();
  if (type == AST_NAME_TIME || type == AST_FUNCTION_RATE_OF) return true;
  if (type == AST_NAME && node->getName() != nullptr && varies(node->getName())) return true;
  for (unsigned i = 0; i < node->getNumChildren(); ++i) {
    if (math_varies(node->getChild(i))) return true;
  }
  return false;
}

bool StoichiometryReader::varies(const std::string& id) {
  auto found = decided.emplace(id, BEING_DECIDED);
  // A value that depends on itself through rules is not taken as constant.
  if (!found.second) return found.first->second != CONSTANT_ID;
  bool result = model.getReaction(id) != nullptr || set_by_events.count(id) != 0 ||
                changed_by_reactions.count(id) != 0;
  if (!result && in_algebraic_rules.count(id) != 0) {
    const Parameter* p = model.getParameter(id);
    const Compartment* c = model.getCompartment(id);
    const Species* s = model.getSpecies(id);
    result = !((p != nullptr && p->getConstant()) || (c != nullptr && c->getConstant()) ||
               (s != nullptr && s->getConstant()));
  }
  auto rule = rule_of.find(id);
  if (!result && rule != rule_of.end()) {
    result = rule->second->isRate() || math_varies(rule->second->getMath());
  }
  decided[id] = result ? VARYING_ID : CONSTANT_ID;
  return result;
}
