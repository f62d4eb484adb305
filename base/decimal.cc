#include "base/decimal.h"

namespace crninv {

namespace {

// The digits of a magnitude, after a minus sign when negative.
template <typename U>
void append_magnitude(std::string& text, bool negative, U m) {
  char digits[48];
  char* end = digits + sizeof digits;
  char* p = end;
  do {
    *--p = static_cast<char>('0' + static_cast<int>(m % 10));
    m /= 10;
  } while (m != 0);
  if (negative) text += '-';
  text.append(p, static_cast<size_t>(end - p));
}

}  // namespace

void append_decimal(std::string& text, int64_t value) {
  append_magnitude(text, value < 0,
                   value < 0 ? 0u - static_cast<uint64_t>(value) : static_cast<uint64_t>(value));
}

void append_decimal(std::string& text, Int128 value) {
  append_magnitude(text, value < 0,
                   value < 0 ? 0u - static_cast<UInt128>(value) : static_cast<UInt128>(value));
}

void append_decimal(std::string& text, const mpz_class& value) {
  size_t at = text.size();
  text.resize(at + mpz_sizeinbase(value.get_mpz_t(), 10) + 2);
  mpz_get_str(&text[at], 10, value.get_mpz_t());
  text.resize(text.find('\0', at));
}

}  // namespace crninv
