// Runs the structural analyses on a network file and prints one line of
// what they found and how long they took, for bench/structure.sh:
//   structure_runner siphons|traps|covering FILE [CAP]
// Exit status 2 when the cap stopped the enumeration.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "crninv/covering.h"
#include "crninv/errors.h"
#include "crninv/siphons.h"
#include "crninv/text_format.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s siphons|traps|covering FILE [CAP]\n", argv[0]);
    return 1;
  }
  std::string mode = argv[1];
  crninv::Network network = crninv::read_network(argv[2]);
  crninv::Control control;
  control.memory_budget = uint64_t{8} << 30;  // what a run may hold here
  if (std::getenv("STRUCTURE_PROGRESS") != nullptr) {
    double next = 1;
    control.progress = [next](const crninv::Progress& p) mutable {
      if (p.seconds >= next) {
        fprintf(stderr, "%.0f s: step %llu found %llu\n", p.seconds,
                static_cast<unsigned long long>(p.step), static_cast<unsigned long long>(p.found));
        next += 1;
      }
      return true;
    };
  }
  auto start = std::chrono::steady_clock::now();
  auto seconds = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  try {
    if (mode == "siphons" || mode == "traps") {
      crninv::SiphonOptions options;
      options.kind =
          mode == "traps" ? crninv::SiphonOptions::kTraps : crninv::SiphonOptions::kSiphons;
      if (argc > 3) options.max_count = std::strtoull(argv[3], nullptr, 10);
      crninv::Siphons found = crninv::siphons(network, options, control);
      size_t largest = 0;
      for (const auto& set : found.sets) largest = std::max(largest, set.size());
      double found_at = seconds();
      std::string verdict;
      if (found.kind == crninv::SiphonOptions::kSiphons) {
        crninv::Persistence p = crninv::persistence(network, found, control);
        verdict = p.persistent() ? "persistent"
                  : p.criterion  ? "criterion (not conservative)"
                                 : std::to_string(p.without_semiflow.size()) + " without semiflow";
      }
      printf("%s\t%zu\tlargest %zu\t%.3f s\t%s\t%.3f s\n", mode.c_str(), found.sets.size(), largest,
             found_at, verdict.c_str(), seconds());
    } else if (mode == "covering") {
      crninv::Covering c = crninv::covering(network, control);
      printf("covering\tspecies %zu of %u\treactions %zu of %u\t%.3f s\n", c.species.covered.size(),
             network.species_count(), c.reactions.covered.size(), network.reaction_count(),
             seconds());
    }
  } catch (const crninv::TooManySiphons& e) {
    printf("%s\tcapped (%s)\t%.3f s\n", mode.c_str(), e.what(), seconds());
    return 2;
  }
  return 0;
}
