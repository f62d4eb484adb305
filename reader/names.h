// The two name tables of a run.
#ifndef CRNINV_READER_NAMES_H_
#define CRNINV_READER_NAMES_H_

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Species name -> species index. Indices are dense from 0 in order of first
// appearance in the file; entries are never removed or renumbered.
using SpeciesTable = std::unordered_map<std::string, uint32_t>;

// Reaction index -> the name the report prints for that reaction column.
using ReactionNames = std::vector<std::string>;

// Species index -> the name held as a key of the SpeciesTable (borrowed).
using SpeciesNames = std::vector<const std::string*>;

#endif  // CRNINV_READER_NAMES_H_
