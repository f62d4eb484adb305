#include "report/output.h"

#include <algorithm>

namespace crninv {

namespace {

// The digits of a magnitude, after a minus sign when negative.
void append_int64(std::string& text, int64_t value) {
  char digits[24];
  char* end = digits + sizeof digits;
  char* p = end;
  uint64_t m = value < 0 ? 0u - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    *--p = static_cast<char>('0' + static_cast<int>(m % 10));
    m /= 10;
  } while (m != 0);
  if (value < 0) text += '-';
  text.append(p, static_cast<size_t>(end - p));
}

// The decimal text of entry e when it is past 64 bits, else null.
const std::string* wider_text(const IntegerRows& rows, uint64_t e) {
  if (rows.wider.empty()) return nullptr;
  auto it = std::lower_bound(
      rows.wider.begin(), rows.wider.end(), e,
      [](const std::pair<uint64_t, std::string>& w, uint64_t entry) { return w.first < entry; });
  return it != rows.wider.end() && it->first == e ? &it->second : nullptr;
}

}  // namespace

void append_value(std::string& text, const IntegerRows& rows, uint64_t e) {
  if (const std::string* digits = wider_text(rows, e)) {
    text += *digits;
  } else {
    append_int64(text, rows.value[e]);
  }
}

void append_coefficient(std::string& text, const IntegerRows& rows, uint64_t e) {
  const std::string* digits = wider_text(rows, e);
  bool negative = digits != nullptr ? (*digits)[0] == '-' : rows.value[e] < 0;
  if (!negative) text += '+';
  if (digits != nullptr) {
    text += *digits;
  } else {
    append_int64(text, rows.value[e]);
  }
  text += ' ';
}

void append_json_string(std::string& text, std::string_view name) {
  text += '"';
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (u < 0x20) {
      static const char kHex[] = "0123456789abcdef";
      text += "\\u00";
      text += kHex[u >> 4];
      text += kHex[u & 15];
    } else {
      text += c;
    }
  }
  text += '"';
}

}  // namespace crninv
