#include "bench/bench_networks.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <random>

namespace {

// Species drawn with a skew: a few hubs take part in many reactions.
uint32_t pick_species(std::mt19937& random, uint32_t S) {
  uint32_t hubs = S < 20 ? S : 20;
  if (random() % 4 == 0) return static_cast<uint32_t>(random() % hubs);
  return static_cast<uint32_t>(random() % S);
}

}  // namespace

std::string network_text(size_t bytes, uint32_t seed) {
  std::mt19937 random(seed);
  std::string text = "# generated network\n";
  uint32_t S = 5000;
  for (uint32_t j = 0; text.size() < bytes; ++j) {
    text += "R_r" + std::to_string(j) + ": ";
    for (int side = 0; side < 2; ++side) {
      uint32_t terms = 1 + random() % 3;
      for (uint32_t t = 0; t < terms; ++t) {
        if (t > 0) text += " + ";
        if (random() % 3 == 0) text += std::to_string(1 + random() % 4) + " ";
        text += "M_s" + std::to_string(pick_species(random, S)) + (t % 2 ? "_c" : "_e");
      }
      text += side == 0 ? " -> " : ";\n";
    }
  }
  return text;
}

std::string temp_file(const std::string& text) {
  static int counter = 0;
  std::string path =
      "/tmp/crninv_bench_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + ".net";
  std::ofstream(path, std::ios::binary) << text;
  static struct Cleanup {
    std::string pattern;
    ~Cleanup() {
      for (int i = 0; i < counter; ++i) unlink((pattern + std::to_string(i) + ".net").c_str());
    }
  } cleanup{"/tmp/crninv_bench_" + std::to_string(getpid()) + "_"};
  return path;
}

std::unique_ptr<Row[]> network_rows(uint32_t S, uint32_t R, uint32_t seed) {
  std::mt19937 random(seed);
  std::unique_ptr<Row[]> rows(new Row[S]);
  for (uint32_t k = 0; k < S; ++k) {
    rows[k].resize(R + S);
    rows[k].add(R + k, -1);
  }
  // Reactions among neighbouring species with unit coefficients, like the
  // transitions of a Petri net: exact answers stay small, nothing overflows.
  for (uint32_t j = 0; j < R; ++j) {
    uint32_t base = static_cast<uint32_t>(random() % S);
    uint32_t terms = 2 + random() % 3;
    for (uint32_t t = 0; t < terms; ++t) {
      uint32_t k = (base + static_cast<uint32_t>(random() % 8)) % S;
      rows[k].add(j, t % 2 ? 1 : -1);
    }
  }
  return rows;
}
