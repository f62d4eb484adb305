// Identifiers for the network text format, made from the ids of other
// formats (SBML ids, PNML ids), which allow characters the reader does not.
#ifndef CRNINV_CONVERT_NAMES_H_
#define CRNINV_CONVERT_NAMES_H_

#include <cstddef>
#include <string>
#include <vector>

namespace crninv::convert {

// The id as an identifier of the network format: every byte that may not
// stand in an identifier becomes '_', and a '_' is put in front when the
// result would start with a digit, '[' or ']' or be empty.
std::string sanitize_identifier(const std::string& id);

struct Naming {
  std::vector<std::string> names;  // one per id, in the same order, all different
  size_t changed = 0;              // how many differ from their id
};

// Gives every id its own identifier. Ids that are identifiers already keep
// their text (the first of equal ids does); the others get their sanitized
// text, followed by "_2", "_3", ... when that is taken.
Naming unique_identifiers(const std::vector<std::string>& ids);

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_NAMES_H_
