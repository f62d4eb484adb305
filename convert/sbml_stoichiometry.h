// The stoichiometry of a species reference as the model fixes it: a
// number, set once or by a formula of constants, or a value that changes
// while the model runs, in which case the model has no constant matrix.
#ifndef CRNINV_CONVERT_SBML_STOICHIOMETRY_H_
#define CRNINV_CONVERT_SBML_STOICHIOMETRY_H_

#include <sbml/SBMLTypes.h>

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace crninv::convert {

struct Stoichiometry {
  enum Kind { CONSTANT, VARYING, UNKNOWN } kind = CONSTANT;
  double value = 0;    // when CONSTANT, as the model writes it (positive for reactants too)
  std::string reason;  // otherwise: why, to follow "stoichiometry of SPECIES "
};

class StoichiometryReader {
 public:
  // The model must outlive the reader.
  explicit StoichiometryReader(const LIBSBML_CPP_NAMESPACE_QUALIFIER Model& model);

  Stoichiometry read(const LIBSBML_CPP_NAMESPACE_QUALIFIER SpeciesReference& ref);

  // The value of a quantity of the model at time 0 (a parameter that
  // bounds a flux), set by a rule, an initial assignment or its attribute;
  // NaN when it has none.
  double start_value(const std::string& id);

 private:
  using Math = LIBSBML_CPP_NAMESPACE_QUALIFIER ASTNode;
  using Scope = std::unordered_map<std::string, double>;  // function arguments

  // The value of math, which sets the stoichiometry from what ("a rule"):
  // for all time, or once at time 0.
  Stoichiometry evaluated(const Math* math, const std::string& what);
  Stoichiometry value_at_start(const Math* math, const std::string& what);

  const LIBSBML_CPP_NAMESPACE_QUALIFIER InitialAssignment* initial_assignment(
      const std::string& id) const;

  // Whether the value of id or of the formula can change after time 0.
  bool varies(const std::string& id);
  bool math_varies(const Math* node,
                   const LIBSBML_CPP_NAMESPACE_QUALIFIER FunctionDefinition* function, int depth);

  // Values at time 0, NaN where there is none.
  double value_of(const std::string& id);
  double value_of(const Math* node, const Scope& scope, int depth);
  double call_value(const Math& call, const Scope& scope, int depth);

  const LIBSBML_CPP_NAMESPACE_QUALIFIER Model& model;
  // Rules and event assignments with math: without, they have no effect.
  std::unordered_map<std::string, const LIBSBML_CPP_NAMESPACE_QUALIFIER Rule*> rule_of;
  std::unordered_set<std::string> set_by_events;
  std::unordered_set<std::string> in_algebraic_rules;
  std::unordered_set<std::string> changed_by_reactions;
  enum Mark { BEING_DECIDED, CONSTANT_ID, VARYING_ID };
  std::unordered_map<std::string, Mark> decided;
  std::unordered_map<std::string, double> start_values;  // NaN while being computed
  std::unordered_map<const LIBSBML_CPP_NAMESPACE_QUALIFIER FunctionDefinition*, bool> body_varies;
  int steps_left = 0;  // of the evaluation at hand
};

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_SBML_STOICHIOMETRY_H_
