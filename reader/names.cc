#include "reader/names.h"

#include <cstring>

namespace {

// A word-at-a-time multiplicative hash; names are short, and its low bits
// pick the slot.
uint32_t hash_name(const std::string& name) {
  const char* p = name.data();
  size_t n = name.size();
  uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
  for (; n >= 8; n -= 8, p += 8) {
    uint64_t word;
    memcpy(&word, p, 8);
    h = (h ^ word) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  }
  if (n > 0) {
    uint64_t word = 0;
    memcpy(&word, p, n);
    h = (h ^ word) * 0xFF51AFD7ED558CCDull;
  }
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 29;
  return static_cast<uint32_t>(h);
}

}  // namespace

size_t SpeciesTable::probe(const std::string& name, uint32_t hash) const {
  size_t mask = slots.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots[i];
    if (slot.entry == 0) return i;
    if (slot.hash == hash && entries[slot.entry - 1].first == name) return i;
  }
}

SpeciesTable::const_iterator SpeciesTable::find(const std::string& name) const {
  if (slots.empty()) return end();
  const Slot& slot = slots[probe(name, hash_name(name))];
  return slot.entry == 0 ? end() : entries.begin() + (slot.entry - 1);
}

std::pair<SpeciesTable::const_iterator, bool> SpeciesTable::emplace(const std::string& name,
                                                                    uint32_t index) {
  if (2 * (entries.size() + 1) > slots.size()) grow();
  uint32_t hash = hash_name(name);
  Slot& slot = slots[probe(name, hash)];
  if (slot.entry != 0) return {entries.begin() + (slot.entry - 1), false};
  entries.emplace_back(name, index);
  slot = Slot{hash, static_cast<uint32_t>(entries.size())};
  return {entries.end() - 1, true};
}

void SpeciesTable::grow() {
  std::vector<Slot> old;
  old.swap(slots);
  slots.assign(old.empty() ? 64 : 2 * old.size(), Slot{0, 0});
  size_t mask = slots.size() - 1;
  for (const Slot& slot : old) {
    if (slot.entry == 0) continue;
    size_t i = slot.hash & mask;
    while (slots[i].entry != 0) i = (i + 1) & mask;
    slots[i] = slot;
  }
}
