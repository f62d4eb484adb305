#include <algorithm>

#include "crninv/siphons.h"

namespace crninv {

namespace {

std::vector<std::string> sorted_names(const Network& network, const std::vector<uint32_t>& set) {
  std::vector<std::string> names;
  for (uint32_t s : set) names.push_back(network.species()[s]);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::string set_text(const Network& network, const std::vector<uint32_t>& species) {
  std::string text = "{";
  std::vector<std::string> names = sorted_names(network, species);
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += ", ";
    text += names[i];
  }
  return text + "}";
}

std::vector<uint32_t> text_order(const Network& network, const Siphons& siphons) {
  std::vector<std::vector<std::string>> names;
  for (const auto& set : siphons.sets) names.push_back(sorted_names(network, set));
  std::vector<uint32_t> order(siphons.sets.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return names[a] < names[b]; });
  return order;
}

std::string siphons_text(const Network& network, const Siphons& siphons) {
  std::string text = siphons.kind == SiphonOptions::kTraps ? "Traps (minimal, nonempty):\n"
                                                           : "Siphons (minimal, nonempty):\n";
  for (uint32_t i : text_order(network, siphons)) {
    text += "\t" + set_text(network, siphons.sets[i]) + "\n";
  }
  return text;
}

}  // namespace crninv
