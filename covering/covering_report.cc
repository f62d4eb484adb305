#include <algorithm>

#include "base/json_text.h"
#include "crninv/covering.h"

namespace crninv {

namespace {

// What one side of the report names: species and P-semiflows, or
// reactions and T-semiflows.
struct SideWords {
  const char* things;
  const char* semiflow;
  const char* verdict;
};
constexpr SideWords kSpecies{"Species", "P-semiflow", "Conservative"};
constexpr SideWords kReactions{"Reactions", "T-semiflow", "Consistent"};

std::string braced(const std::vector<std::string>& names, const std::vector<uint32_t>& indices) {
  std::vector<std::string> sorted;
  for (uint32_t i : indices) sorted.push_back(names[i]);
  std::sort(sorted.begin(), sorted.end());
  std::string text = "{";
  for (size_t k = 0; k < sorted.size(); ++k) text += (k > 0 ? ", " : "") + sorted[k];
  return text + "}";
}

std::vector<uint32_t> complement(const std::vector<uint32_t>& covered, size_t count) {
  std::vector<uint32_t> rest;
  size_t k = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (k < covered.size() && covered[k] == i) {
      ++k;
    } else {
      rest.push_back(i);
    }
  }
  return rest;
}

// Whether the set covers all count of its kind, as JSON.
const char* flag(const CoveredSet& set, size_t count) {
  return set.covered.size() == count ? "true" : "false";
}

std::string side_text(const std::vector<std::string>& names, const CoveredSet& set,
                      const SideWords& words) {
  std::vector<uint32_t> rest = complement(set.covered, names.size());
  std::string text = std::string(words.things) + " covered by a " + words.semiflow + " (" +
                     std::to_string(set.covered.size()) + " of " + std::to_string(names.size()) +
                     "):\n\t" + braced(names, set.covered) + "\n";
  text += std::string(words.things) + " covered by none:\n\t" + braced(names, rest) + "\n";
  text += std::string(words.verdict) + ": " + (rest.empty() ? "yes" : "no") + "\n";
  text += std::string("Certificate, a ") + words.semiflow + " of largest support:\n\t";
  const IntegerRows& row = set.certificate;
  for (uint64_t e = 0; e < row.nonzeros(); ++e) {
    text += (e > 0 ? " +" : "+") + row.at(e).to_string() + " " + names[row.column[e]];
  }
  return text + "\n";
}

std::string side_json(const std::vector<std::string>& names, const CoveredSet& set,
                      const SideWords& words) {
  std::string verdict = words.verdict;
  std::transform(verdict.begin(), verdict.end(), verdict.begin(), ::tolower);
  std::string json = "{\"covered\": " + json_indices(set.covered) +
                     ", \"not_covered\": " + json_indices(complement(set.covered, names.size())) +
                     ", \"" + verdict + "\": " + flag(set, names.size()) + ", \"certificate\": [";
  const IntegerRows& row = set.certificate;
  for (uint64_t e = 0; e < row.nonzeros(); ++e) {
    uint32_t i = row.column[e];
    json += (e > 0 ? ", " : "") + std::string("{\"index\": ") + std::to_string(i) +
            ", \"name\": " + json_string(names[i]) + ", \"coefficient\": " + row.at(e).to_string() +
            "}";
  }
  return json + "]}";
}

}  // namespace

std::string covering_text(const Network& network, const Covering& covering) {
  return side_text(network.species(), covering.species, kSpecies) +
         side_text(network.reactions(), covering.reactions, kReactions);
}

std::string covering_json(const Network& network, const Covering& covering) {
  return "{\"species\": " + json_named(network.species(), nullptr) +
         ",\n \"reactions\": " + json_named(network.reactions(), nullptr) +
         ",\n \"covered_species\": " +
         json_sorted_names(network.species(), covering.species.covered) +
         ",\n \"covered_reactions\": " +
         json_sorted_names(network.reactions(), covering.reactions.covered) +
         ",\n \"conservative\": " + flag(covering.species, network.species_count()) +
         ",\n \"consistent\": " + flag(covering.reactions, network.reactions().size()) +
         ",\n \"covering\": {\"species\": " +
         side_json(network.species(), covering.species, kSpecies) +
         ",\n  \"reactions\": " + side_json(network.reactions(), covering.reactions, kReactions) +
         "}}\n";
}

}  // namespace crninv
