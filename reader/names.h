// The name tables of a run.
#ifndef CRNINV_READER_NAMES_H_
#define CRNINV_READER_NAMES_H_

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Species name -> species index: a hash table with open addressing. Both
// reading passes look up every species name they meet, so this lookup is
// the reader's hot path. Entries are never removed, and they keep their
// addresses, so that the report may borrow the names.
class SpeciesTable {
 public:
  using Entry = std::pair<const std::string, uint32_t>;
  using const_iterator = std::deque<Entry>::const_iterator;

  size_t size() const { return entries.size(); }
  // In order of insertion.
  const_iterator begin() const { return entries.begin(); }
  const_iterator end() const { return entries.end(); }

  // The entry of name, or end().
  const_iterator find(std::string_view name) const;
  // The entry of name, or null: find without the iterator, for the reader.
  const Entry* lookup(std::string_view name) const;
  // Enters name with index unless it is there already; returns its entry
  // and whether it is new.
  std::pair<const_iterator, bool> emplace(std::string_view name, uint32_t index);

 private:
  struct Slot {
    uint32_t hash;
    uint32_t position;   // of the entry in insertion order
    const Entry* entry;  // null for a free slot
  };
  // The slot that holds name, or the free slot where it belongs.
  size_t probe(std::string_view name, uint32_t hash) const;
  void grow();

  std::deque<Entry> entries;
  std::vector<Slot> slots;  // a power of two in size, at most half full
};

// Reaction index -> the name the report prints for that reaction column.
using ReactionNames = std::vector<std::string>;

// Species index -> the name held in the SpeciesTable (borrowed).
using SpeciesNames = std::vector<const std::string*>;

#endif  // CRNINV_READER_NAMES_H_
