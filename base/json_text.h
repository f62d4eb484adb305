// Small pieces of JSON for the writers of the reports: the invariants',
// the structure's and the covering's.
#ifndef CRNINV_BASE_JSON_TEXT_H_
#define CRNINV_BASE_JSON_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace crninv {

// Appends text as a JSON string: quoted, with quotes, backslashes and
// control bytes escaped.
void append_json_string(std::string& out, std::string_view text);
// The same, whole.
std::string json_string(std::string_view text);

// [{"index": 0, "name": "A"}, ...] for the names given, at the positions
// given (all of them when positions is null).
std::string json_named(const std::vector<std::string>& names,
                       const std::vector<uint32_t>* positions);

// ["A", "B"]: the names at the positions given, in byte order.
std::string json_sorted_names(const std::vector<std::string>& names,
                              const std::vector<uint32_t>& positions);

// [0, 4, 7]
std::string json_indices(const std::vector<uint32_t>& indices);

}  // namespace crninv

#endif  // CRNINV_BASE_JSON_TEXT_H_
