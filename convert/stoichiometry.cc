#include "convert/stoichiometry.h"

#include <cmath>
#include <string>

namespace crninv::convert {

namespace {

constexpr uint64_t kMax = 2147483647;

__extension__ typedef unsigned __int128 UInt128;

uint64_t gcd(uint64_t a, uint64_t b) {
  while (b != 0) {
    uint64_t r = a % b;
    a = b;
    b = r;
  }
  return a;
}

// The least common multiple of the denominators, or 0 when it passes
// 64 bits (it is then far beyond what a reaction may be scaled by).
uint64_t least_common_denominator(const std::vector<Fraction>& fractions) {
  UInt128 lcd = 1;
  for (const Fraction& f : fractions) {
    lcd = lcd / gcd(static_cast<uint64_t>(lcd), f.denominator) * f.denominator;
    if (lcd > UINT64_MAX) return 0;
  }
  return static_cast<uint64_t>(lcd);
}

Scaling& refuse(Scaling& result, size_t culprit, const std::string& reason) {
  result.culprit = culprit;
  result.reason = reason;
  return result;
}

// Reads each value as a fraction; false, with the reason in result, at
// the first that cannot be one within the format's numbers.
bool read_fractions(const std::vector<double>& values, const std::vector<Reading>& readings,
                    std::vector<Fraction>& fractions, Scaling& result) {
  for (size_t i = 0; i < values.size(); ++i) {
    double v = values[i];
    double m = std::fabs(v);
    if (!std::isfinite(v)) {
      refuse(result, i, "is not a finite number (" + shortest_text(v) + ")");
      return false;
    }
    if (m == std::floor(m)) {
      if (m > static_cast<double>(kMax)) {
        refuse(result, i, "is larger than 2147483647 (" + shortest_text(m) + ")");
        return false;
      }
      fractions.push_back({static_cast<uint64_t>(m), 1});
      continue;
    }
    if (readings[i].kind == Reading::TOO_FINE) {
      refuse(result, i, "has a denominator larger than 2147483647 (" + shortest_text(m) + ")");
      return false;
    }
    if (readings[i].kind == Reading::FRACTION) result.approximated.push_back(i);
    fractions.push_back(readings[i].value);
  }
  return true;
}

}  // namespace

Scaling scale_to_integers(const std::vector<double>& values) {
  Scaling result;
  std::vector<Reading> readings(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    double m = std::fabs(values[i]);
    if (std::isfinite(m) && m != std::floor(m)) readings[i] = read_fraction(m);
  }
  // A value that is no fraction is named before any other fault: it alone
  // leaves the model without a rational matrix.
  for (size_t i = 0; i < values.size(); ++i) {
    if (readings[i].kind != Reading::NO_FRACTION) continue;
    result.no_fraction = true;
    return refuse(result, i,
                  "is not a fraction with a small denominator, within its precision (" +
                      shortest_text(std::fabs(values[i])) + ")");
  }
  std::vector<Fraction> fractions;
  if (!read_fractions(values, readings, fractions, result)) return result;
  uint64_t factor = least_common_denominator(fractions);
  if (factor == 0 || factor > kMax) {
    std::string lcd = factor == 0 ? "more than 18446744073709551615" : std::to_string(factor);
    return refuse(result, values.size(),
                  "the least common denominator of the stoichiometries is larger than "
                  "2147483647 (" +
                      lcd + ")");
  }
  for (size_t i = 0; i < values.size(); ++i) {
    const Fraction& f = fractions[i];
    result.fractions.push_back(f);
    uint64_t multiplier = factor / f.denominator;
    if (f.numerator > kMax / multiplier) {
      result.values.clear();
      return refuse(result, i,
                    "is larger than 2147483647 when scaled by " + std::to_string(factor) + " (" +
                        shortest_text(std::fabs(values[i])) + ")");
    }
    int32_t scaled = static_cast<int32_t>(f.numerator * multiplier);
    result.values.push_back(values[i] < 0 ? -scaled : scaled);
  }
  result.ok = true;
  result.factor = static_cast<int32_t>(factor);
  return result;
}

}  // namespace crninv::convert
