// Integers of every width in decimal, the way the reports write them.
#ifndef CRNINV_BASE_DECIMAL_H_
#define CRNINV_BASE_DECIMAL_H_

#include <cstdint>
#include <string>

#include "base/exact.h"

namespace crninv {

// Appends value in decimal ("3", "-2").
void append_decimal(std::string& text, int64_t value);
void append_decimal(std::string& text, Int128 value);
void append_decimal(std::string& text, const mpz_class& value);

// Appends value with its sign ("+3", "-2") and one blank, the way the
// report writes coefficients.
template <typename T>
void append_coefficient(std::string& text, const T& value) {
  if (!(value < 0)) text += '+';
  append_decimal(text, value);
  text += ' ';
}

}  // namespace crninv

#endif  // CRNINV_BASE_DECIMAL_H_
