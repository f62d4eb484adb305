// The name tables of a run.
#ifndef CRNINV_READER_NAMES_H_
#define CRNINV_READER_NAMES_H_

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace crninv {

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
  // Sets index to the index entered with name and returns true, or returns
  // false: find without the iterator, for the reader's hot path.
  bool lookup(std::string_view name, uint32_t* index) const;
  std::pair<const_iterator, bool> emplace(std::string_view name, uint32_t index);

 private:
  // All that a lookup reads lies in the slots and in texts, a packed copy of
  // the names; the entries (whose names the report borrows) are read only
  // by find and emplace. For 10,000 names both fit the processor's
  // second-level cache, which the entries alone would not.
  struct Slot {
    uint32_t hash;
    uint32_t index;  // the index entered with the name
    uint64_t text;   // 1 + where the name's record starts in texts; 0: free
  };
  // A record in texts: the name's length (8 bytes), the entry's position
  // (4 bytes), then the name's bytes.
  static constexpr size_t kRecordHead = 12;
  bool holds(const Slot& slot, std::string_view name) const;
  uint32_t position(const Slot& slot) const;
  // The slot that holds name, or the free slot where it belongs.
  size_t probe(std::string_view name, uint32_t hash) const;
  void grow();

  std::deque<Entry> entries;
  std::vector<Slot> slots;  // a power of two in size, at most half full
  std::string texts;
};

// Reaction index -> the name the report prints for that reaction column.
using ReactionNames = std::vector<std::string>;

// Species index -> the name held in the SpeciesTable (borrowed).
using SpeciesNames = std::vector<const std::string*>;

}  // namespace crninv

#endif  // CRNINV_READER_NAMES_H_
