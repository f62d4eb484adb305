// pnml2crn: writes a place/transition net from a PNML file in the network
// text format of crninv: places are species, transitions are reactions.
#include <cstdint>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "convert/command_line.h"
#include "convert/names.h"
#include "convert/network_writer.h"
#include "convert/pnml_reader.h"

namespace {

const char kProgram[] = "pnml2crn";

// The arcs of every transition, by transition: one term per place and
// direction, parallel arcs added up, in the order of their first arc.
struct Sides {
  std::vector<size_t> start;  // transition t owns terms[start[t], start[t + 1])
  std::vector<PetriArc> terms;
};

Sides merge_arcs(const PetriNet& net, const std::vector<std::string>& places) {
  size_t T = net.transitions.size();
  Sides sides;
  sides.start.assign(T + 1, 0);
  for (const PetriArc& a : net.arcs) ++sides.start[a.transition + 1];
  for (size_t t = 0; t < T; ++t) sides.start[t + 1] += sides.start[t];
  std::vector<size_t> fill(sides.start.begin(), sides.start.end() - 1);
  std::vector<PetriArc> by_transition(net.arcs.size());
  for (const PetriArc& a : net.arcs) by_transition[fill[a.transition]++] = a;

  // slot[2 * place + direction]: where that term went for the transition at hand.
  std::vector<size_t> slot(2 * net.places.size(), SIZE_MAX);
  std::vector<size_t> merged_start(T + 1, 0);
  for (size_t t = 0; t < T; ++t) {
    size_t first = sides.terms.size();
    for (size_t i = sides.start[t]; i < sides.start[t + 1]; ++i) {
      const PetriArc& a = by_transition[i];
      size_t& s = slot[2 * a.place + a.to_place];
      if (s != SIZE_MAX && s >= first) {
        int32_t& w = sides.terms[s].weight;
        if (a.weight > INT32_MAX - w) {
          throw PnmlError("the arcs between " + places[a.place] + " and transition " +
                          net.transitions[t] + " weigh more than 2147483647 together");
        }
        w += a.weight;
      } else {
        s = sides.terms.size();
        sides.terms.push_back(a);
      }
    }
    merged_start[t + 1] = sides.terms.size();
  }
  sides.start = std::move(merged_start);
  return sides;
}

void write_net(const char* path, const PetriNet& net, const Naming& places,
               const Naming& transitions, const Sides& sides) {
  std::vector<bool> in_arcs(net.places.size(), false);
  for (const PetriArc& a : net.arcs) in_arcs[a.place] = true;
  size_t used = 0;
  for (bool b : in_arcs) used += b;
  write_comment(stdout, std::string("converted by pnml2crn from ") + path);
  write_comment(stdout, "net " + net.id + ", place/transition net");
  write_comment(stdout, "places: " + std::to_string(net.places.size()) + " (" +
                            std::to_string(used) +
                            " with arcs), transitions: " + std::to_string(net.transitions.size()) +
                            ", arcs: " + std::to_string(net.arcs.size()));
  write_comment(stdout, "identifiers changed to fit the format: " +
                            std::to_string(places.changed + transitions.changed));
  if (net.arcs_left_out != 0) {
    write_comment(stdout, "arcs that move no tokens (inhibitor, read, test), left out: " +
                              std::to_string(net.arcs_left_out));
  }
  std::vector<Term> left, right;
  for (size_t t = 0; t < net.transitions.size(); ++t) {
    left.clear();
    right.clear();
    for (size_t i = sides.start[t]; i < sides.start[t + 1]; ++i) {
      const PetriArc& a = sides.terms[i];
      (a.to_place ? right : left).push_back({a.weight, &places.names[a.place]});
    }
    write_reaction(stdout, transitions.names[t], left, right);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Program program{
      kProgram,
      "FILE",
      "Write a PNML place/transition net, plain or gzip-compressed, as a crninv network.",
      "Usage: pnml2crn FILE.pnml",
      {}};
  const char* path = nullptr;
  int status = parse_command_line(program, argc, argv, &path);
  if (status >= 0) return status;
  try {
    PetriNet net = read_pnml(path);
    Naming places = unique_identifiers(net.places);
    Naming transitions = unique_identifiers(net.transitions);
    Sides sides = merge_arcs(net, net.places);
    if (net.arcs_left_out != 0) {
      fprintf(stderr,
              "%s: warning: %s: arcs that move no tokens (inhibitor, read, test), left out: %zu\n",
              kProgram, path, net.arcs_left_out);
    }
    write_net(path, net, places, transitions, sides);
  } catch (const PnmlError& e) {
    fprintf(stderr, "%s: %s: %s\n", kProgram, path, e.what());
    return 1;
  } catch (const std::bad_alloc&) {
    fprintf(stderr, "%s: %s: out of memory\n", kProgram, path);
    return 1;
  }
  return finish_output(kProgram);
}
