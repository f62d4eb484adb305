#include "crninv/integers.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace crninv {

Integer Integer::from_decimal(const std::string& text) {
  errno = 0;
  char* end = nullptr;
  long long v = strtoll(text.c_str(), &end, 10);
  Integer result;
  if (errno == 0 && end != nullptr && *end == '\0' && !text.empty()) {
    result.small = v;
  } else {
    result.digits = text;
  }
  return result;
}

std::string Integer::to_string() const {
  return digits.empty() ? std::to_string(small) : digits;
}

int Integer::sign() const {
  if (!digits.empty()) return digits[0] == '-' ? -1 : 1;
  return (small > 0) - (small < 0);
}

Integer IntegerRows::at(uint64_t entry) const {
  if (!wider.empty()) {
    auto it = std::lower_bound(
        wider.begin(), wider.end(), entry,
        [](const std::pair<uint64_t, std::string>& w, uint64_t e) { return w.first < e; });
    if (it != wider.end() && it->first == entry) return Integer::from_decimal(it->second);
  }
  return Integer(value[entry]);
}

void IntegerRows::push(uint32_t column_index, const Integer& v) {
  column.push_back(column_index);
  if (v.fits_int64()) {
    value.push_back(v.to_int64());
  } else {
    wider.emplace_back(value.size(), v.to_string());
    value.push_back(0);
  }
}

}  // namespace crninv
