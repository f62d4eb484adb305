#include "convert/sbml_direction.h"

#include <sbml/packages/fbc/extension/FbcModelPlugin.h>
#include <sbml/packages/fbc/extension/FbcReactionPlugin.h>

#include <algorithm>
#include <cmath>

LIBSBML_CPP_NAMESPACE_USE

namespace crninv::convert {

namespace {

// The tighter of two bounds, either of which may be NaN (not given).
double tighter(double a, double b, bool lower) {
  if (std::isnan(a)) return b;
  if (std::isnan(b)) return a;
  return lower ? std::max(a, b) : std::min(a, b);
}

}  // namespace

DirectionReader::DirectionReader(const Model& model, StoichiometryReader& values) : values(values) {
  const auto* fbc = dynamic_cast<const FbcModelPlugin*>(model.getPlugin("fbc"));
  if (fbc == nullptr) return;
  for (unsigned i = 0; i < fbc->getNumFluxBounds(); ++i) {
    const FluxBound& b = *fbc->getFluxBound(i);
    if (!b.isSetValue()) continue;
    double v = b.getValue();
    FluxBoundOperation_t operation = b.getFluxBoundOperation();
    Bounds& bounds = listed.emplace(b.getReaction(), Bounds{NAN, NAN}).first->second;
    if (operation == FLUXBOUND_OPERATION_GREATER_EQUAL ||
        operation == FLUXBOUND_OPERATION_GREATER || operation == FLUXBOUND_OPERATION_EQUAL) {
      bounds.lower = tighter(bounds.lower, v, true);
    }
    if (operation == FLUXBOUND_OPERATION_LESS_EQUAL || operation == FLUXBOUND_OPERATION_LESS ||
        operation == FLUXBOUND_OPERATION_EQUAL) {
      bounds.upper = tighter(bounds.upper, v, false);
    }
  }
}

// fbc Version 2 names a parameter for each bound; Version 1 lists them.
DirectionReader::Bounds DirectionReader::flux_bounds(const Reaction& reaction) {
  Bounds bounds{NAN, NAN};
  const auto* fbc = dynamic_cast<const FbcReactionPlugin*>(reaction.getPlugin("fbc"));
  if (fbc != nullptr && fbc->isSetLowerFluxBound()) {
    bounds.lower = values.start_value(fbc->getLowerFluxBound());
  }
  if (fbc != nullptr && fbc->isSetUpperFluxBound()) {
    bounds.upper = values.start_value(fbc->getUpperFluxBound());
  }
  auto found = listed.find(reaction.getId());
  if (found != listed.end()) {
    bounds.lower = tighter(bounds.lower, found->second.lower, true);
    bounds.upper = tighter(bounds.upper, found->second.upper, false);
  }
  return bounds;
}

ConvertedReaction::Direction DirectionReader::direction(const Reaction& reaction) {
  Bounds b = flux_bounds(reaction);
  double lower = std::isnan(b.lower) ? (reaction.getReversible() ? -INFINITY : 0) : b.lower;
  double upper = std::isnan(b.upper) ? INFINITY : b.upper;
  if (lower < 0 && upper > 0) return ConvertedReaction::kBoth;
  if (lower < 0 && upper <= 0) return ConvertedReaction::kReverse;
  return ConvertedReaction::kForward;
}

}  // namespace crninv::convert
