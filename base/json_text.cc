#include "base/json_text.h"

#include <algorithm>

namespace crninv {

void append_json_string(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      out += "\\u00";
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

std::string json_string(std::string_view text) {
  std::string out;
  append_json_string(out, text);
  return out;
}

std::string json_named(const std::vector<std::string>& names,
                       const std::vector<uint32_t>* positions) {
  std::string out = "[";
  size_t count = positions ? positions->size() : names.size();
  for (size_t k = 0; k < count; ++k) {
    uint32_t i = positions ? (*positions)[k] : static_cast<uint32_t>(k);
    if (k > 0) out += ", ";
    out += "{\"index\": " + std::to_string(i) + ", \"name\": " + json_string(names[i]) + "}";
  }
  return out + "]";
}

std::string json_sorted_names(const std::vector<std::string>& names,
                              const std::vector<uint32_t>& positions) {
  std::vector<std::string_view> sorted;
  for (uint32_t i : positions) sorted.push_back(names[i]);
  std::sort(sorted.begin(), sorted.end());
  std::string out = "[";
  for (size_t k = 0; k < sorted.size(); ++k) {
    if (k > 0) out += ", ";
    append_json_string(out, sorted[k]);
  }
  return out + "]";
}

std::string json_indices(const std::vector<uint32_t>& indices) {
  std::string out = "[";
  for (size_t k = 0; k < indices.size(); ++k) {
    if (k > 0) out += ", ";
    out += std::to_string(indices[k]);
  }
  return out + "]";
}

}  // namespace crninv
