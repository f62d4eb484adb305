#include "reader/names.h"

#include <cstring>

namespace crninv {

namespace {

// A word-at-a-time multiplicative hash; names are short, and its low bits
// pick the slot.
uint32_t hash_name(std::string_view name) {
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

bool SpeciesTable::holds(const Slot& slot, std::string_view name) const {
  const char* record = texts.data() + (slot.text - 1);
  uint64_t length;
  memcpy(&length, record, sizeof length);
  return length == name.size() && memcmp(record + kRecordHead, name.data(), name.size()) == 0;
}

uint32_t SpeciesTable::position(const Slot& slot) const {
  uint32_t result;
  memcpy(&result, texts.data() + (slot.text - 1) + 8, sizeof result);
  return result;
}

size_t SpeciesTable::probe(std::string_view name, uint32_t hash) const {
  size_t mask = slots.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots[i];
    if (slot.text == 0 || (slot.hash == hash && holds(slot, name))) return i;
  }
}

bool SpeciesTable::lookup(std::string_view name, uint32_t* index) const {
  if (slots.empty()) return false;
  const Slot& slot = slots[probe(name, hash_name(name))];
  if (slot.text == 0) return false;
  *index = slot.index;
  return true;
}

SpeciesTable::const_iterator SpeciesTable::find(std::string_view name) const {
  if (slots.empty()) return end();
  const Slot& slot = slots[probe(name, hash_name(name))];
  return slot.text == 0 ? end() : entries.begin() + position(slot);
}

std::pair<SpeciesTable::const_iterator, bool> SpeciesTable::emplace(std::string_view name,
                                                                    uint32_t index) {
  if (2 * (entries.size() + 1) > slots.size()) grow();
  uint32_t hash = hash_name(name);
  Slot& slot = slots[probe(name, hash)];
  if (slot.text != 0) return {entries.begin() + position(slot), false};
  uint64_t length = name.size();
  uint32_t at = static_cast<uint32_t>(entries.size());
  slot = Slot{hash, index, texts.size() + 1};
  texts.append(reinterpret_cast<const char*>(&length), sizeof length);
  texts.append(reinterpret_cast<const char*>(&at), sizeof at);
  texts.append(name);
  entries.emplace_back(std::string(name), index);
  return {entries.end() - 1, true};
}

void SpeciesTable::grow() {
  std::vector<Slot> old;
  old.swap(slots);
  slots.assign(old.empty() ? 64 : 2 * old.size(), Slot{0, 0, 0});
  size_t mask = slots.size() - 1;
  for (const Slot& slot : old) {
    if (slot.text == 0) continue;
    size_t i = slot.hash & mask;
    while (slots[i].text != 0) i = (i + 1) & mask;
    slots[i] = slot;
  }
}

}  // namespace crninv
