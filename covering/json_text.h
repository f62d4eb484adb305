// Small pieces of JSON for the writers of the reports.
#ifndef CRNINV_COVERING_JSON_TEXT_H_
#define CRNINV_COVERING_JSON_TEXT_H_

#include <cstdint>
#include <string>
#include <vector>

namespace crninv {

// A JSON string: quoted, with quotes, backslashes and control bytes
// escaped.
std::string json_string(const std::string& text);

// [{"index": 0, "name": "A"}, ...] for the names given, at the positions
// given (all of them when positions is null).
std::string json_named(const std::vector<std::string>& names,
                       const std::vector<uint32_t>* positions);

// [0, 4, 7]
std::string json_indices(const std::vector<uint32_t>& indices);

}  // namespace crninv

#endif  // CRNINV_COVERING_JSON_TEXT_H_
