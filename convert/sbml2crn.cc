// sbml2crn: writes the reactions of an SBML model in the network text
// format of crninv, one reaction per line, on standard output.
#include <sbml/SBMLTypes.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "convert/command_line.h"
#include "convert/names.h"
#include "convert/network_writer.h"
#include "convert/sbml_document.h"
#include "convert/sbml_network.h"
#include "convert/stoichiometry.h"

LIBSBML_CPP_NAMESPACE_USE

namespace {

const char kProgram[] = "sbml2crn";

// One reaction as it will be written: terms by side, or why it is not.
struct Converted {
  std::vector<Term> left, right;
  int32_t factor = 1;
  std::string left_out;
  bool varies = false;  // left out for a stoichiometry that changes over time
};

// The terms written: boundary species stay fixed whatever the reactions
// do, so they have no row of the matrix unless the user keeps them.
std::vector<const SbmlTerm*> kept_terms(const SbmlReaction& reaction, bool keep_boundary) {
  std::vector<const SbmlTerm*> kept;
  for (const SbmlTerm& t : reaction.terms) {
    if (keep_boundary || !t.boundary) kept.push_back(&t);
  }
  return kept;
}

Converted convert(const SbmlReaction& reaction, bool keep_boundary,
                  const std::vector<std::string>& names,
                  const std::unordered_map<std::string, size_t>& index) {
  Converted c;
  std::vector<const SbmlTerm*> terms = kept_terms(reaction, keep_boundary);
  // A stoichiometry that varies is named before one that is unknown: it
  // alone stops the conversion.
  for (bool varying : {true, false}) {
    for (const SbmlTerm* t : terms) {
      if (t->problem.empty() || t->varies != varying) continue;
      c.left_out = "stoichiometry of " + t->species + " " + t->problem;
      c.varies = varying;
      return c;
    }
  }
  std::vector<double> values;
  for (const SbmlTerm* t : terms) values.push_back(t->stoichiometry);
  Scaling s = scale_to_integers(values);
  if (!s.ok) {
    c.left_out = s.culprit < values.size()
                     ? "stoichiometry of " + terms[s.culprit]->species + " " + s.reason
                     : s.reason;
    return c;
  }
  c.factor = s.factor;
  // A negative amount on one side is a positive one on the other.
  for (size_t i = 0; i < values.size(); ++i) {
    const std::string* name = &names[index.at(terms[i]->species)];
    int32_t v = s.values[i];
    if (v < 0 || (v == 0 && terms[i]->reactant)) {
      c.left.push_back({-v, name});
    } else {
      c.right.push_back({v, name});
    }
  }
  return c;
}

// The boundary species that reactions name, in the order met.
std::vector<std::string> boundary_species(const SbmlNetwork& network) {
  std::vector<std::string> ids;
  std::unordered_set<std::string> seen;
  for (const SbmlReaction& r : network.reactions) {
    for (const SbmlTerm& t : r.terms) {
      if (t.boundary && seen.insert(t.species).second) ids.push_back(t.species);
    }
  }
  return ids;
}

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

void write_header(const char* path, const Model& model, const SbmlNetwork& network,
                  const std::vector<Converted>& converted, size_t renamed, bool keep_boundary) {
  std::unordered_set<const std::string*> used;
  std::vector<std::string> left_out;
  size_t scaled = 0;
  for (size_t j = 0; j < converted.size(); ++j) {
    const Converted& c = converted[j];
    for (const Term& t : c.left) used.insert(t.name);
    for (const Term& t : c.right) used.insert(t.name);
    if (!c.left_out.empty()) left_out.push_back(network.reactions[j].id);
    if (c.factor != 1) ++scaled;
  }
  std::string model_line = "model " + (model.isSetId() ? model.getId() : "(no id)");
  if (model.isSetName()) model_line += " (" + model.getName() + ")";
  model_line += ", SBML Level " + std::to_string(model.getLevel()) + " Version " +
                std::to_string(model.getVersion());
  write_comment(stdout, std::string("converted by sbml2crn from ") + path);
  write_comment(stdout, model_line);
  write_comment(stdout, "species: " + std::to_string(network.declared) + " declared, " +
                            std::to_string(used.size()) + " in the reactions written");
  std::vector<std::string> boundary = boundary_species(network);
  if (!boundary.empty()) {
    write_comment(stdout,
                  std::string("boundary species, ") +
                      (keep_boundary ? "kept (--keep-boundary): " : "left out of the reactions: ") +
                      std::to_string(boundary.size()) + " (" + joined(boundary) + ")");
  }
  write_comment(stdout, "reactions: " + std::to_string(converted.size()) + " in the model, " +
                            std::to_string(converted.size() - left_out.size()) + " written (" +
                            std::to_string(scaled) + " scaled to whole numbers), " +
                            std::to_string(left_out.size()) + " left out");
  if (!left_out.empty()) {
    write_comment(stdout, "reactions left out (reasons below): " + joined(left_out));
  }
  write_comment(stdout, "identifiers changed to fit the format: " + std::to_string(renamed));
}

// Reports every reaction whose stoichiometry changes over time; false
// when there is none.
bool report_varying(const char* path, const SbmlNetwork& network,
                    const std::vector<Converted>& converted) {
  bool any = false;
  for (size_t j = 0; j < converted.size(); ++j) {
    if (!converted[j].varies) continue;
    fprintf(stderr, "%s: %s: reaction %s: %s, so the model has no constant stoichiometric matrix\n",
            kProgram, path, network.reactions[j].id.c_str(), converted[j].left_out.c_str());
    any = true;
  }
  if (any) {
    fprintf(stderr, "%s: --leave-out-varying converts the model without such reactions\n",
            kProgram);
  }
  return any;
}

}  // namespace

int main(int argc, char** argv) {
  bool keep_boundary = false, leave_out_varying = false;
  Program program{
      kProgram,
      "FILE",
      "Write the reactions of an SBML model as a crninv network on standard output.",
      "Usage: sbml2crn FILE.xml",
      {{0, "keep-boundary", "keep boundary species in the reactions", &keep_boundary},
       {0, "leave-out-varying", "leave out reactions whose stoichiometry changes over time",
        &leave_out_varying}}};
  const char* path = nullptr;
  int status = parse_command_line(program, argc, argv, &path);
  if (status >= 0) return status;
  std::unique_ptr<SBMLDocument> document = read_document(kProgram, path);
  if (document == nullptr) return 1;
  const Model* model = document->getModel();

  SbmlNetwork network = read_network(*model);
  Naming species = unique_identifiers(network.species);
  std::unordered_map<std::string, size_t> index;
  for (size_t i = 0; i < network.species.size(); ++i) index.emplace(network.species[i], i);
  std::vector<std::string> ids;
  for (const SbmlReaction& r : network.reactions) ids.push_back(r.id);
  Naming labels = unique_identifiers(ids);

  std::vector<Converted> converted;
  for (const SbmlReaction& r : network.reactions) {
    converted.push_back(convert(r, keep_boundary, species.names, index));
  }
  if (!leave_out_varying && report_varying(path, network, converted)) return 1;
  write_header(path, *model, network, converted, species.changed + labels.changed, keep_boundary);
  for (size_t j = 0; j < converted.size(); ++j) {
    const Converted& c = converted[j];
    const std::string& id = network.reactions[j].id;
    if (!c.left_out.empty()) {
      write_comment(stdout, "left out " + id + ": " + c.left_out);
      fprintf(stderr, "%s: warning: reaction %s left out: %s\n", kProgram, id.c_str(),
              c.left_out.c_str());
      continue;
    }
    if (c.factor != 1) {
      write_comment(stdout, "scaled " + id + " by " + std::to_string(c.factor) +
                                " (non-integer stoichiometry)");
    }
    write_reaction(stdout, labels.names[j], c.left, c.right);
  }
  return finish_output(kProgram);
}
