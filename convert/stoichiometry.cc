#include "convert/stoichiometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace crninv::convert {

namespace {

constexpr uint64_t kMax = 2147483647;

// A positive finite value as digits * 10^exponent, digits without
// trailing zeros, from the shortest text that reads back as the value.
void decimal_of(double value, uint64_t& digits, int& exponent) {
  char text[40];
  for (int precision = 1; precision <= 17; ++precision) {
    snprintf(text, sizeof text, "%.*e", precision - 1, value);
    if (strtod(text, nullptr) == value) break;
  }
  char* e = text;
  digits = 0;
  int fraction_digits = 0;
  bool after_point = false;
  for (; *e != 'e'; ++e) {
    if (*e == '.') {
      after_point = true;
      continue;
    }
    digits = digits * 10 + static_cast<uint64_t>(*e - '0');
    if (after_point) ++fraction_digits;
  }
  exponent = atoi(e + 1) - fraction_digits;
  while (digits % 10 == 0) {
    digits /= 10;
    ++exponent;
  }
}

int times_divisible(uint64_t n, uint64_t p) {
  int count = 0;
  while (n % p == 0) {
    n /= p;
    ++count;
  }
  return count;
}

uint64_t power(uint64_t base, int exponent) {
  uint64_t result = 1;
  while (exponent-- > 0) result *= base;
  return result;
}

// A value in lowest terms, numerator / (2^twos * 5^fives).
struct Fraction {
  uint64_t numerator;
  int twos;
  int fives;
};

Scaling& refuse(Scaling& result, size_t culprit, const std::string& reason) {
  result.culprit = culprit;
  result.reason = reason;
  return result;
}

}  // namespace

std::string shortest_text(double value) {
  char text[40];
  if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e17) {
    snprintf(text, sizeof text, "%.0f", value);
    return text;
  }
  for (int precision = 1; precision <= 17; ++precision) {
    snprintf(text, sizeof text, "%.*g", precision, value);
    if (strtod(text, nullptr) == value) break;
  }
  return text;
}

Scaling scale_to_integers(const std::vector<double>& values) {
  Scaling result;
  std::vector<Fraction> fractions;
  int twos = 0;
  int fives = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    double v = values[i];
    double m = std::fabs(v);
    if (!std::isfinite(v)) {
      return refuse(result, i, "is not a finite number (" + shortest_text(v) + ")");
    }
    Fraction f{0, 0, 0};
    if (m == std::floor(m)) {
      if (m > static_cast<double>(kMax)) {
        return refuse(result, i, "is larger than 2147483647 (" + shortest_text(m) + ")");
      }
      f.numerator = static_cast<uint64_t>(m);
    } else {
      uint64_t digits;
      int exponent;
      decimal_of(m, digits, exponent);
      int k = -exponent;  // > 0: the value is not whole
      int d2 = std::min(times_divisible(digits, 2), k);
      int d5 = std::min(times_divisible(digits, 5), k);
      f = {digits / power(2, d2) / power(5, d5), k - d2, k - d5};
      if (f.twos > 31 || f.fives > 13 || power(2, f.twos) * power(5, f.fives) > kMax) {
        return refuse(result, i,
                      "has a denominator larger than 2147483647 (" + shortest_text(m) + ")");
      }
    }
    twos = std::max(twos, f.twos);
    fives = std::max(fives, f.fives);
    fractions.push_back(f);
  }
  uint64_t factor = power(2, twos) * power(5, fives);
  if (factor > kMax) {
    return refuse(result, values.size(),
                  "the least common denominator of the stoichiometries is larger than "
                  "2147483647 (" +
                      std::to_string(factor) + ")");
  }
  for (size_t i = 0; i < values.size(); ++i) {
    uint64_t multiplier = power(2, twos - fractions[i].twos) * power(5, fives - fractions[i].fives);
    if (fractions[i].numerator > kMax / multiplier) {
      result.values.clear();
      return refuse(result, i,
                    "is larger than 2147483647 when scaled by " + std::to_string(factor) + " (" +
                        shortest_text(std::fabs(values[i])) + ")");
    }
    int32_t scaled = static_cast<int32_t>(fractions[i].numerator * multiplier);
    result.values.push_back(values[i] < 0 ? -scaled : scaled);
  }
  result.ok = true;
  result.factor = static_cast<int32_t>(factor);
  return result;
}

}  // namespace crninv::convert
