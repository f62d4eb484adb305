#include "covering/json_text.h"

#include <cstdio>

namespace crninv {

std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
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

std::string json_indices(const std::vector<uint32_t>& indices) {
  std::string out = "[";
  for (size_t k = 0; k < indices.size(); ++k) {
    if (k > 0) out += ", ";
    out += std::to_string(indices[k]);
  }
  return out + "]";
}

}  // namespace crninv
