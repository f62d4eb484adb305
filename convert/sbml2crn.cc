// sbml2crn: writes the reactions of an SBML model in the network text
// format of crninv, one reaction per line, on standard output.
#include <sbml/SBMLTypes.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "convert/names.h"
#include "convert/network_writer.h"
#include "convert/sbml_network.h"
#include "convert/stoichiometry.h"

LIBSBML_CPP_NAMESPACE_USE

namespace {

const char kProgram[] = "sbml2crn";

// The message of a libSBML error on one line.
std::string one_line(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// Reports the errors of a document that cannot be used; false when none.
bool report_errors(const char* path, const SBMLDocument& document) {
  unsigned count =
      document.getNumErrors(LIBSBML_SEV_ERROR) + document.getNumErrors(LIBSBML_SEV_FATAL);
  if (count == 0) return false;
  fprintf(stderr, "%s: %s: cannot read SBML:\n", kProgram, path);
  for (unsigned i = 0; i < document.getNumErrors(); ++i) {
    const SBMLError* e = document.getError(i);
    if (e->getSeverity() < LIBSBML_SEV_ERROR) continue;
    fprintf(stderr, "\tline %u: %s\n", e->getLine(), one_line(e->getMessage()).c_str());
  }
  return true;
}

// One reaction as it will be written: terms by side, or why it is not.
struct Converted {
  std::vector<Term> left, right;
  int32_t factor = 1;
  std::string left_out;
};

Converted convert(const SbmlReaction& reaction, const std::vector<std::string>& names,
                  const std::unordered_map<std::string, size_t>& index) {
  Converted c;
  if (!reaction.problem.empty()) {
    c.left_out = reaction.problem;
    return c;
  }
  std::vector<double> values;
  for (const SbmlTerm& t : reaction.terms) values.push_back(t.stoichiometry);
  Scaling s = scale_to_integers(values);
  if (!s.ok) {
    c.left_out = s.culprit < values.size()
                     ? "stoichiometry of " + reaction.terms[s.culprit].species + " " + s.reason
                     : s.reason;
    return c;
  }
  c.factor = s.factor;
  // A negative amount on one side is a positive one on the other.
  for (size_t i = 0; i < values.size(); ++i) {
    const std::string* name = &names[index.at(reaction.terms[i].species)];
    int32_t v = s.values[i];
    if (v < 0 || (v == 0 && reaction.terms[i].reactant)) {
      c.left.push_back({-v, name});
    } else {
      c.right.push_back({v, name});
    }
  }
  return c;
}

void write_header(const char* path, const Model& model, const SbmlNetwork& network,
                  const std::vector<Converted>& converted, size_t renamed) {
  std::unordered_set<const std::string*> used;
  size_t scaled = 0, left_out = 0;
  for (const Converted& c : converted) {
    for (const Term& t : c.left) used.insert(t.name);
    for (const Term& t : c.right) used.insert(t.name);
    if (!c.left_out.empty()) ++left_out;
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
  write_comment(stdout, "reactions: " + std::to_string(converted.size()) + " in the model, " +
                            std::to_string(converted.size() - left_out) + " written (" +
                            std::to_string(scaled) + " scaled to whole numbers), " +
                            std::to_string(left_out) + " left out");
  write_comment(stdout, "identifiers changed to fit the format: " + std::to_string(renamed));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "Usage: %s FILE.xml\n", kProgram);
    return 1;
  }
  const char* path = argv[1];
  std::unique_ptr<SBMLDocument> document(readSBMLFromFile(path));
  if (report_errors(path, *document)) return 1;
  const Model* model = document->getModel();
  if (model == nullptr) {
    fprintf(stderr, "%s: %s: the document holds no model\n", kProgram, path);
    return 1;
  }

  SbmlNetwork network = read_network(*model);
  Naming species = unique_identifiers(network.species);
  std::unordered_map<std::string, size_t> index;
  for (size_t i = 0; i < network.species.size(); ++i) index.emplace(network.species[i], i);
  std::vector<std::string> ids;
  for (const SbmlReaction& r : network.reactions) ids.push_back(r.id);
  Naming labels = unique_identifiers(ids);

  std::vector<Converted> converted;
  for (const SbmlReaction& r : network.reactions) {
    converted.push_back(convert(r, species.names, index));
  }
  write_header(path, *model, network, converted, species.changed + labels.changed);
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
