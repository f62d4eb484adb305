// The net as a Network: one reaction per transition, the arcs between one
// place and one transition in one direction added up into one term.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "convert/names.h"
#include "convert/pnml_reader.h"
#include "crninv/errors.h"
#include "crninv/pnml.h"

namespace crninv {

namespace {

using convert::PetriArc;
using convert::PetriNet;

// The arcs of every transition, by transition: one term per place and
// direction, parallel arcs added up, in the order of their first arc.
struct Sides {
  std::vector<size_t> start;  // transition t owns terms[start[t], start[t + 1])
  std::vector<PetriArc> terms;
};

// Sorts the arcs by transition, keeping their order within each.
std::vector<PetriArc> by_transition(const PetriNet& net, std::vector<size_t>& start) {
  size_t T = net.transitions.size();
  start.assign(T + 1, 0);
  for (const PetriArc& a : net.arcs) ++start[a.transition + 1];
  for (size_t t = 0; t < T; ++t) start[t + 1] += start[t];
  std::vector<size_t> fill(start.begin(), start.end() - 1);
  std::vector<PetriArc> sorted(net.arcs.size());
  for (const PetriArc& a : net.arcs) sorted[fill[a.transition]++] = a;
  return sorted;
}

Sides merge_arcs(const PetriNet& net, const std::vector<std::string>& places) {
  size_t T = net.transitions.size();
  std::vector<size_t> start;
  std::vector<PetriArc> arcs = by_transition(net, start);
  Sides sides;
  sides.start.assign(T + 1, 0);
  // slot[2 * place + direction]: where that term went for the transition at hand.
  std::vector<size_t> slot(2 * net.places.size(), SIZE_MAX);
  for (size_t t = 0; t < T; ++t) {
    size_t first = sides.terms.size();
    for (size_t i = start[t]; i < start[t + 1]; ++i) {
      const PetriArc& a = arcs[i];
      size_t& s = slot[2 * a.place + a.to_place];
      if (s != SIZE_MAX && s >= first) {
        int32_t& w = sides.terms[s].weight;
        if (a.weight > INT32_MAX - w) {
          throw convert::PnmlError("the arcs between " + places[a.place] + " and transition " +
                                   net.transitions[t] + " weigh more than 2147483647 together");
        }
        w += a.weight;
      } else {
        s = sides.terms.size();
        sides.terms.push_back(a);
      }
    }
    sides.start[t + 1] = sides.terms.size();
  }
  return sides;
}

// Species numbered as a reader of the written text numbers them: by first
// appearance, inputs of a transition before its outputs.
Network build_network(const PetriNet& net, const Sides& sides, const convert::Naming& places,
                      const convert::Naming& transitions, std::vector<std::string>& place_ids) {
  std::vector<uint32_t> species_of(net.places.size(), UINT32_MAX);
  std::vector<std::string> species;
  NetworkBuilder builder;
  for (size_t t = 0; t < net.transitions.size(); ++t) {
    for (bool output : {false, true}) {
      for (size_t i = sides.start[t]; i < sides.start[t + 1]; ++i) {
        const PetriArc& a = sides.terms[i];
        if (a.to_place != output) continue;
        uint32_t& k = species_of[a.place];
        if (k == UINT32_MAX) {
          k = static_cast<uint32_t>(species.size());
          species.push_back(places.names[a.place]);
          place_ids.push_back(net.places[a.place]);
        }
        builder.add_term(static_cast<uint32_t>(t), k, a.weight, output);
      }
    }
  }
  return builder.finish(std::move(species), transitions.names);
}

}  // namespace

PnmlConversion read_pnml(const std::string& path) try {
  PetriNet net = convert::read_petri_net(path);
  convert::Naming places = convert::unique_identifiers(net.places);
  convert::Naming transitions = convert::unique_identifiers(net.transitions);
  Sides sides = merge_arcs(net, net.places);
  PnmlConversion result;
  result.network = build_network(net, sides, places, transitions, result.place_ids);
  result.transition_ids = std::move(net.transitions);
  result.net_id = std::move(net.id);
  result.places = net.places.size();
  result.arcs = net.arcs.size();
  result.arcs_left_out = net.arcs_left_out;
  result.identifiers_changed = places.changed + transitions.changed;
  return result;
} catch (const convert::PnmlError& e) {
  throw ConversionError(path, e.what());
}

}  // namespace crninv
