#include "convert/sbml_stoichiometry.h"

#include <sbml/SBMLTransforms.h>

#include <cmath>
#include <memory>

LIBSBML_CPP_NAMESPACE_USE

namespace crninv::convert {

namespace {

// Deeper nesting of formulas and function calls is taken for a function
// that calls itself, which has no value.
constexpr int kMaxDepth = 64;
// The most steps one stoichiometry may take to evaluate: functions that
// call others several times could otherwise take exponential time.
constexpr int kMaxSteps = 10000;

// A user function call: a name, and a function definition to look up.
bool is_call(const ASTNode& node) {
  return node.getType() == AST_FUNCTION && node.getName() != nullptr;
}

// The attribute value of a quantity at time 0; NaN when it has none.
double attribute_value(const Model& model, const std::string& id) {
  if (const Parameter* p = model.getParameter(id)) return p->isSetValue() ? p->getValue() : NAN;
  if (const Compartment* c = model.getCompartment(id)) return c->isSetSize() ? c->getSize() : NAN;
  if (const Species* s = model.getSpecies(id)) {
    if (s->isSetInitialAmount()) return s->getInitialAmount();
    return s->isSetInitialConcentration() ? s->getInitialConcentration() : NAN;
  }
  if (const SpeciesReference* r = model.getSpeciesReference(id)) {
    return r->isSetStoichiometry() ? r->getStoichiometry() : NAN;
  }
  return NAN;
}

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
    } else if (rule->isSetMath()) {
      rule_of.emplace(rule->getVariable(), rule);
    }
  }
  for (unsigned i = 0; i < model.getNumEvents(); ++i) {
    const Event* event = model.getEvent(i);
    for (unsigned j = 0; j < event->getNumEventAssignments(); ++j) {
      const EventAssignment* assignment = event->getEventAssignment(j);
      if (assignment->isSetMath()) set_by_events.insert(assignment->getVariable());
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

// An assignment without math has no effect (Level 3 Version 2 lets math
// out): the value it would set stands.
const InitialAssignment* StoichiometryReader::initial_assignment(const std::string& id) const {
  const InitialAssignment* assignment = model.getInitialAssignmentBySymbol(id);
  return assignment != nullptr && assignment->isSetMath() ? assignment : nullptr;
}

Stoichiometry StoichiometryReader::read(const SpeciesReference& ref) {
  Stoichiometry result;
  if (ref.getLevel() < 3) {
    if (ref.isSetStoichiometryMath() && ref.getStoichiometryMath()->isSetMath()) {
      return evaluated(ref.getStoichiometryMath()->getMath(), "a formula");
    }
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
    // Evaluated once, at time 0, whatever the formula names.
    const InitialAssignment* assignment = initial_assignment(id);
    if (assignment != nullptr) {
      return value_at_start(assignment->getMath(), "an initial assignment");
    }
  }
  if (!ref.isSetStoichiometry()) return {Stoichiometry::UNKNOWN, 0, "is not given"};
  result.value = ref.getStoichiometry();
  return result;
}

double StoichiometryReader::start_value(const std::string& id) {
  steps_left = kMaxSteps;
  return value_of(id);
}

// A formula that holds for all time: a formula of constants keeps its
// value at time 0 for ever.
Stoichiometry StoichiometryReader::evaluated(const ASTNode* math, const std::string& what) {
  if (math_varies(math, nullptr, 0)) {
    return {Stoichiometry::VARYING, 0, "is set by " + what + " whose value changes over time"};
  }
  return value_at_start(math, what);
}

Stoichiometry StoichiometryReader::value_at_start(const ASTNode* math, const std::string& what) {
  if (math == nullptr) return {Stoichiometry::UNKNOWN, 0, "is set by " + what + " without math"};
  steps_left = kMaxSteps;
  double value = value_of(math, Scope(), 0);
  if (!std::isfinite(value)) {
    return {Stoichiometry::UNKNOWN, 0, "is set by " + what + " that cannot be evaluated"};
  }
  return {Stoichiometry::CONSTANT, value, ""};
}

// The value of a quantity at time 0: set by an assignment rule, by an
// initial assignment, or by its attribute.
double StoichiometryReader::value_of(const std::string& id) {
  auto found = start_values.emplace(id, NAN);
  if (!found.second) return found.first->second;  // known, or a cycle: NaN
  auto rule = rule_of.find(id);
  const InitialAssignment* assignment = initial_assignment(id);
  double value;
  if (rule != rule_of.end() && rule->second->isAssignment()) {
    value = value_of(rule->second->getMath(), Scope(), 0);
  } else if (assignment != nullptr) {
    value = value_of(assignment->getMath(), Scope(), 0);
  } else {
    value = attribute_value(model, id);
  }
  // A value cut short by the step limit is not kept: it is no property of id.
  if (steps_left < 0) {
    start_values.erase(id);
  } else {
    start_values[id] = value;
  }
  return value;
}

// libSBML computes the arithmetic; names and calls of function
// definitions, which it would look up without a guard against cycles, are
// put in as numbers first.
double StoichiometryReader::value_of(const ASTNode* node, const Scope& scope, int depth) {
  if (node == nullptr || depth > kMaxDepth || --steps_left < 0) return NAN;
  if (node->getType() == AST_NAME && node->getName() != nullptr) {
    auto bound = scope.find(node->getName());
    return bound != scope.end() ? bound->second : value_of(node->getName());
  }
  if (is_call(*node)) return call_value(*node, scope, depth);
  std::unique_ptr<ASTNode> copy(node->deepCopy());
  for (unsigned i = 0; i < copy->getNumChildren(); ++i) {
    const ASTNode& child = *copy->getChild(i);
    if ((child.getType() == AST_NAME && child.getName() != nullptr) || is_call(child) ||
        child.getNumChildren() != 0) {
      auto number = new ASTNode(AST_REAL);
      number->setValue(value_of(&child, scope, depth + 1));
      copy->replaceChild(i, number, true);
    }
  }
  return SBMLTransforms::evaluateASTNode(copy.get(), SBMLTransforms::IdValueMap(), nullptr);
}

double StoichiometryReader::call_value(const ASTNode& call, const Scope& scope, int depth) {
  const FunctionDefinition* f = model.getFunctionDefinition(call.getName());
  if (f == nullptr || f->getBody() == nullptr || f->getNumArguments() != call.getNumChildren()) {
    return NAN;
  }
  Scope arguments;
  for (unsigned i = 0; i < call.getNumChildren(); ++i) {
    const ASTNode* name = f->getArgument(i);
    if (name == nullptr || name->getName() == nullptr) return NAN;
    arguments[name->getName()] = value_of(call.getChild(i), scope, depth + 1);
  }
  return value_of(f->getBody(), arguments, depth + 1);
}

// Within a function's body (function is then not null) its arguments are
// no quantities of the model; the values put in for them are the call's.
bool StoichiometryReader::math_varies(const ASTNode* node, const FunctionDefinition* function,
                                      int depth) {
  if (node == nullptr || depth > kMaxDepth) return false;
  ASTNodeType_t type = node->getType();
  if (type == AST_NAME_TIME || type == AST_FUNCTION_RATE_OF) return true;
  if (type == AST_NAME && node->getName() != nullptr &&
      (function == nullptr || function->getArgument(node->getName()) == nullptr) &&
      varies(node->getName())) {
    return true;
  }
  const FunctionDefinition* called =
      is_call(*node) ? model.getFunctionDefinition(node->getName()) : nullptr;
  if (called != nullptr) {
    // Each body is looked at once (a call within itself counts as constant).
    auto known = body_varies.emplace(called, false);
    if (known.second) known.first->second = math_varies(called->getBody(), called, depth + 1);
    if (known.first->second) return true;
  }
  for (unsigned i = 0; i < node->getNumChildren(); ++i) {
    if (math_varies(node->getChild(i), function, depth + 1)) return true;
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
    result = rule->second->isRate() || math_varies(rule->second->getMath(), nullptr, 0);
  }
  decided[id] = result ? VARYING_ID : CONSTANT_ID;
  return result;
}

}  // namespace crninv::convert
