#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/json_text.h"
#include "crninv/covering.h"

namespace crninv {

namespace {

// Where each set of siphons.sets stands in the text.
std::vector<uint32_t> text_positions(const std::vector<uint32_t>& order) {
  std::vector<uint32_t> position(order.size());
  for (uint32_t k = 0; k < order.size(); ++k) position[order[k]] = k;
  return position;
}

std::string persistence_text(const Network& network, const Siphons& siphons,
                             const Persistence& persistence) {
  if (!persistence.criterion) {
    std::string text =
        "Minimal siphons that contain the support of no P-semiflow (persistence not shown):\n";
    std::vector<uint32_t> position = text_positions(text_order(network, siphons));
    std::vector<std::pair<uint32_t, uint32_t>> listed;
    for (uint32_t i : persistence.without_semiflow) listed.emplace_back(position[i], i);
    std::sort(listed.begin(), listed.end());
    for (const auto& entry : listed)
      text += "\t" + set_text(network, siphons.sets[entry.second]) + "\n";
    return text;
  }
  if (persistence.conservative) {
    return "Structurally persistent: every minimal siphon contains the support of a P-semiflow, "
           "and the network is conservative\n";
  }
  return "Every minimal siphon contains the support of a P-semiflow, but the network is not "
         "conservative: persistence is shown for its bounded trajectories only\n";
}

}  // namespace

std::string siphons_report_text(const Network& network, const Siphons& siphons,
                                const Persistence* persistence) {
  std::string text = siphons_text(network, siphons);
  if (persistence) text += persistence_text(network, siphons, *persistence);
  return text;
}

std::string siphons_report_json(const Network& network, const Siphons& siphons,
                                const Persistence* persistence) {
  bool traps = siphons.kind == SiphonOptions::kTraps;
  std::vector<uint32_t> order = text_order(network, siphons);
  std::string json = "{\"species\": " + json_named(network.species(), nullptr) +
                     ",\n \"reactions\": " + json_named(network.reactions(), nullptr) + ",\n \"" +
                     (traps ? "traps" : "siphons") + "\": [";
  for (size_t k = 0; k < order.size(); ++k) {
    json += std::string(k > 0 ? "," : "") + "\n  " +
            json_sorted_names(network.species(), siphons.sets[order[k]]);
  }
  json += order.empty() ? "]" : "\n ]";
  if (persistence) {
    std::vector<uint32_t> position = text_positions(order), without;
    for (uint32_t i : persistence->without_semiflow) without.push_back(position[i]);
    std::sort(without.begin(), without.end());
    json += std::string(",\n \"persistence\": {\"structurally_persistent\": ") +
            (persistence->persistent() ? "true" : "false") +
            ", \"every_siphon_holds_a_semiflow\": " + (persistence->criterion ? "true" : "false") +
            ", \"conservative\": " + (persistence->conservative ? "true" : "false") +
            ", \"without_semiflow\": " + json_indices(without) + "}";
  }
  return json + "}\n";
}

}  // namespace crninv
