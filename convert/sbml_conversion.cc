// The model's reactions as a Network: each made whole, or left out with
// its reason, and the facts that the converter's header tells.
#include <sbml/SBMLTypes.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "convert/names.h"
#include "convert/sbml_document.h"
#include "convert/sbml_network.h"
#include "convert/stoichiometry.h"
#include "crninv/sbml.h"

LIBSBML_CPP_NAMESPACE_USE

namespace crninv {

namespace {

using convert::SbmlReaction;
using convert::SbmlTerm;

// A side of a reaction as it will be written: the model's species indices
// and their coefficients, in order.
using WrittenSide = std::vector<std::pair<size_t, int32_t>>;

struct Written {
  WrittenSide left, right;
  // For a reaction that stops the conversion: why the model then has no
  // matrix, to follow its reason.
  const char* consequence = "";
};

constexpr char kNotConstant[] = ", so the model has no constant stoichiometric matrix";
constexpr char kNotRational[] = ", so the model has no rational stoichiometric matrix";

// The terms written: boundary species stay fixed whatever the reactions
// do, so they have no row of the matrix unless the user keeps them.
std::vector<const SbmlTerm*> kept_terms(const SbmlReaction& reaction, bool keep_boundary) {
  std::vector<const SbmlTerm*> kept;
  for (const SbmlTerm& t : reaction.terms) {
    if (keep_boundary || !t.boundary) kept.push_back(&t);
  }
  return kept;
}

// The first term whose stoichiometry has no number, varying or not.
const SbmlTerm* with_problem(const std::vector<const SbmlTerm*>& terms, bool varying) {
  for (const SbmlTerm* t : terms) {
    if (!t->problem.empty() && t->varies == varying) return t;
  }
  return nullptr;
}

// Leaves the reaction out, for a reason that stops the conversion when
// consequence is given.
void leave_out(ConvertedReaction& c, Written& w, std::string reason, const char* consequence) {
  c.left_out = std::move(reason);
  c.stops = consequence != nullptr;
  if (consequence != nullptr) w.consequence = consequence;
}

std::string stoichiometry_of(const SbmlTerm& t, const std::string& reason) {
  return "stoichiometry of " + t.species + " " + reason;
}

// The sides of one reaction; or, in c, why it cannot be written. What
// leaves the model without a constant rational matrix (a stoichiometry
// that varies or is no fraction) is named before any other fault: it
// alone stops the conversion.
Written convert_reaction(const SbmlReaction& reaction, bool keep_boundary,
                         const std::unordered_map<std::string, size_t>& index,
                         ConvertedReaction& c) {
  Written w;
  std::vector<const SbmlTerm*> terms = kept_terms(reaction, keep_boundary);
  if (const SbmlTerm* t = with_problem(terms, true)) {
    leave_out(c, w, stoichiometry_of(*t, t->problem), kNotConstant);
    return w;
  }
  std::vector<double> values;  // 0 where there is no number
  for (const SbmlTerm* t : terms) values.push_back(t->stoichiometry);
  convert::Scaling s = convert::scale_to_integers(values);
  if (s.no_fraction) {
    leave_out(c, w, stoichiometry_of(*terms[s.culprit], s.reason), kNotRational);
    return w;
  }
  if (const SbmlTerm* t = with_problem(terms, false)) {
    leave_out(c, w, stoichiometry_of(*t, t->problem), nullptr);
    return w;
  }
  if (!s.ok) {
    leave_out(c, w,
              s.culprit < values.size() ? stoichiometry_of(*terms[s.culprit], s.reason) : s.reason,
              nullptr);
    return w;
  }
  c.factor = s.factor;
  for (size_t i : s.approximated) {
    c.fractions.push_back({terms[i]->species, convert::shortest_text(std::fabs(values[i])),
                           s.fractions[i].numerator, s.fractions[i].denominator});
  }
  // A negative amount on one side is a positive one on the other.
  for (size_t i = 0; i < values.size(); ++i) {
    size_t species = index.at(terms[i]->species);
    int32_t v = s.values[i];
    if (v < 0 || (v == 0 && terms[i]->reactant)) {
      w.left.emplace_back(species, -v);
    } else {
      w.right.emplace_back(species, v);
    }
  }
  return w;
}

// The boundary species that reactions name, in the order met.
std::vector<std::string> boundary_species(const convert::SbmlNetwork& network) {
  std::vector<std::string> ids;
  std::unordered_set<std::string> seen;
  for (const SbmlReaction& r : network.reactions) {
    for (const SbmlTerm& t : r.terms) {
      if (t.boundary && seen.insert(t.species).second) ids.push_back(t.species);
    }
  }
  return ids;
}

// Throws when a stoichiometry changes over time or is no fraction and the
// caller did not ask to leave such reactions out.
void check_matrix(const std::string& path, const SbmlConversion& result,
                  const std::vector<Written>& written, const SbmlOptions& options) {
  if (options.leave_out_varying) return;
  std::vector<NoStoichiometricMatrix::Reaction> stopping;
  for (size_t j = 0; j < written.size(); ++j) {
    const ConvertedReaction& r = result.reactions[j];
    if (r.stops) stopping.push_back({r.id, r.left_out + written[j].consequence});
  }
  if (!stopping.empty()) {
    throw NoStoichiometricMatrix(path, std::move(stopping), result.diagnostics);
  }
}

// A reaction of the network: the sides of a reaction of the model, as
// written or swapped, under a label.
struct Line {
  size_t reaction;
  bool swapped;
  std::string label;
};

// "ID_rev", or "ID_rev_2", ... when that is a label or a species' name.
std::string reverse_label(const std::string& label, std::unordered_set<std::string>& taken) {
  std::string name = label + "_rev";
  for (unsigned long n = 2; taken.count(name) != 0; ++n) name = label + "_rev_" + std::to_string(n);
  taken.insert(name);
  return name;
}

// The lines written, in the model's order: each reaction once, or, when
// reversible reactions are split, twice (ID, ID_rev) or swapped.
std::vector<Line> lines_of(const SbmlConversion& result, const convert::Naming& labels,
                           const convert::Naming& species, bool split) {
  std::unordered_set<std::string> taken(labels.names.begin(), labels.names.end());
  taken.insert(species.names.begin(), species.names.end());
  std::vector<Line> lines;
  for (size_t j = 0; j < result.reactions.size(); ++j) {
    const ConvertedReaction& r = result.reactions[j];
    if (!r.left_out.empty()) continue;
    ConvertedReaction::Direction d = split ? r.direction : ConvertedReaction::kForward;
    lines.push_back({j, d == ConvertedReaction::kReverse, labels.names[j]});
    if (d == ConvertedReaction::kBoth)
      lines.push_back({j, true, reverse_label(labels.names[j], taken)});
  }
  return lines;
}

// Builds the network of the lines written. Species are numbered as a
// reader of the written text numbers them: by first appearance.
void build_network(const convert::SbmlNetwork& sbml, const std::vector<Written>& written,
                   const convert::Naming& species, std::vector<Line> lines,
                   SbmlConversion& result) {
  NetworkBuilder builder;
  std::vector<uint32_t> species_of(sbml.species.size(), UINT32_MAX);
  std::vector<std::string> names, reaction_names;
  for (Line& line : lines) {
    uint32_t i = static_cast<uint32_t>(reaction_names.size());
    ConvertedReaction& r = result.reactions[line.reaction];
    if (r.count++ == 0) r.first = i;
    reaction_names.push_back(std::move(line.label));
    const Written& w = written[line.reaction];
    for (bool product : {false, true}) {
      for (const auto& [k, coefficient] : product != line.swapped ? w.right : w.left) {
        if (species_of[k] == UINT32_MAX) {
          species_of[k] = static_cast<uint32_t>(names.size());
          names.push_back(species.names[k]);
          result.species_ids.push_back(sbml.species[k]);
        }
        builder.add_term(i, species_of[k], coefficient, product);
      }
    }
  }
  result.network = builder.finish(std::move(names), std::move(reaction_names));
}

void describe_model(const Model& model, SbmlConversion& result) {
  if (model.isSetId()) result.model_id = model.getId();
  if (model.isSetName()) result.model_name = model.getName();
  result.level = model.getLevel();
  result.version = model.getVersion();
}

}  // namespace

SbmlConversion read_sbml(const std::string& path, const SbmlOptions& options) {
  SbmlConversion result;
  std::unique_ptr<SBMLDocument> document = convert::read_document(path, result.diagnostics);
  const Model& model = *document->getModel();
  convert::SbmlNetwork sbml = convert::read_network(model);
  convert::Naming species = convert::unique_identifiers(sbml.species);
  std::unordered_map<std::string, size_t> index;
  for (size_t i = 0; i < sbml.species.size(); ++i) index.emplace(sbml.species[i], i);
  std::vector<std::string> ids;
  for (const SbmlReaction& r : sbml.reactions) ids.push_back(r.id);
  convert::Naming labels = convert::unique_identifiers(ids);

  std::vector<Written> written;
  for (const SbmlReaction& r : sbml.reactions) {
    result.reactions.emplace_back();
    result.reactions.back().id = r.id;
    result.reactions.back().direction = r.direction;
    written.push_back(convert_reaction(r, options.keep_boundary, index, result.reactions.back()));
  }
  check_matrix(path, result, written, options);
  describe_model(model, result);
  result.species_declared = sbml.declared;
  result.boundary_species = boundary_species(sbml);
  result.identifiers_changed = species.changed + labels.changed;
  build_network(sbml, written, species, lines_of(result, labels, species, options.split_reversible),
                result);
  return result;
}

}  // namespace crninv
