// Exact integers as results carry them: a 64-bit value, or, for the rare
// value past 64 bits, its decimal digits. Rows of them are kept
// compressed, so that results of millions of entries cost 12 bytes each.
#ifndef CRNINV_INCLUDE_CRNINV_INTEGERS_H_
#define CRNINV_INCLUDE_CRNINV_INTEGERS_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace crninv {

class Integer {
 public:
  Integer(int64_t value = 0) : small(value) {}  // NOLINT: an integer is an Integer
  // From decimal digits with an optional '-': the digits of a value past
  // 64 bits are kept as text.
  static Integer from_decimal(const std::string& text);

  bool fits_int64() const { return digits.empty(); }
  int64_t to_int64() const { return small; }  // when it fits
  std::string to_string() const;
  // -1, 0 or 1.
  int sign() const;
  bool operator==(const Integer& other) const {
    return small == other.small && digits == other.digits;
  }
  bool operator!=(const Integer& other) const { return !(*this == other); }

 private:
  int64_t small = 0;   // the value, when digits is empty
  std::string digits;  // the decimal text of a value past 64 bits
};

// Row i holds the entries start[i] .. start[i + 1] - 1: in increasing
// column order, each nonzero. An entry's value is value[e], unless e is
// listed in wider (ascending), which holds the decimal text of the value
// past 64 bits (value[e] is then 0).
struct IntegerRows {
  std::vector<uint64_t> start{0};
  std::vector<uint32_t> column;
  std::vector<int64_t> value;
  std::vector<std::pair<uint64_t, std::string>> wider;

  uint32_t size() const { return static_cast<uint32_t>(start.size() - 1); }
  uint64_t nonzeros() const { return column.size(); }
  Integer at(uint64_t entry) const;
  void push(uint32_t column_index, const Integer& v);
  void end_row() { start.push_back(column.size()); }
};

}  // namespace crninv

#endif  // CRNINV_INCLUDE_CRNINV_INTEGERS_H_
