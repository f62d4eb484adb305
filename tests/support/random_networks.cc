#include "tests/support/random_networks.h"

#include <vector>

namespace {

std::string side(std::mt19937& random, uint32_t species) {
  std::uniform_int_distribution<uint32_t> count(0, 3), pick(0, species - 1), coefficient(0, 9);
  std::string text;
  uint32_t terms = count(random);
  for (uint32_t t = 0; t < terms; ++t) {
    uint32_t c = coefficient(random);
    // Mostly 1, now and then 2 or 3, rarely 0.
    uint32_t value = c < 6 ? 1 : c < 8 ? 2 : c < 9 ? 3 : 0;
    text += (t > 0 ? " + " : "") + std::string(value == 1 ? "" : std::to_string(value) + " ") +
            "s" + std::to_string(pick(random));
  }
  return text;
}

}  // namespace

std::string random_network_text(std::mt19937& random, uint32_t species, uint32_t reactions) {
  std::string text;
  for (uint32_t r = 0; r < reactions; ++r) {
    text += "r" + std::to_string(r) + ": " + side(random, species) + " -> " +
            side(random, species) + ";\n";
  }
  // Every species named at least once, by a reaction that changes nothing
  // when it is on both sides.
  for (uint32_t s = 0; s < species; ++s) {
    if (text.find("s" + std::to_string(s) + " ") == std::string::npos &&
        text.find("s" + std::to_string(s) + ";") == std::string::npos) {
      text += "r" + std::to_string(reactions++) + ": s" + std::to_string(s) + " -> s" +
              std::to_string(s) + ";\n";
    }
  }
  return text;
}

std::string random_flow_network_text(std::mt19937& random, uint32_t species, uint32_t reactions) {
  auto name = [](uint32_t s) { return "s" + std::to_string(s); };
  std::string text;
  for (uint32_t r = 0; r < reactions; ++r) {
    uint32_t a = random() % species, b = random() % species, d = random() % species;
    uint32_t c = r < species ? r : random() % species;
    if (a == c || b == c || a == d || b == d) continue;
    text += "r" + std::to_string(r) + ": " + name(a);
    if (random() % 2 && b != a) text += " + " + name(b);
    text += " -> " + name(c);
    if (random() % 2 && d != c) text += " + " + name(d);
    text += ";\n";
  }
  return text;
}

std::string ring_network_text(int steps) {
  std::string text;
  for (int i = 0; i < steps; ++i) {
    std::string k = std::to_string(i), next = std::to_string((i + 1) % steps);
    text += "t" + k + ": p" + k + " + q" + k + " -> p" + next + " + q" + next + ";\n";
  }
  return text;
}
