#include "convert/rational.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace crninv::convert {

namespace {

constexpr uint64_t kMax = 2147483647;

// value printed as printf would print it in the C locale, whatever the
// locale of the process.
std::string printed(double value, std::chars_format format, int precision) {
  char text[64];
  std::to_chars_result end = std::to_chars(text, text + sizeof text, value, format, precision);
  return std::string(text, end.ptr);
}

bool reads_back(const std::string& text, double value) {
  double read = 0;
  std::from_chars_result end = std::from_chars(text.data(), text.data() + text.size(), read);
  return end.ec == std::errc() && read == value;
}

// A positive finite value as digits * 10^exponent, digits without
// trailing zeros, from the shortest text that reads back as the value.
void decimal_of(double value, uint64_t& digits, int& exponent) {
  std::string text;
  for (int precision = 1; precision <= 17; ++precision) {
    text = printed(value, std::chars_format::scientific, precision - 1);
    if (reads_back(text, value)) break;
  }
  size_t e = text.find('e');
  digits = 0;
  int fraction_digits = 0;
  bool after_point = false;
  for (size_t i = 0; i < e; ++i) {
    if (text[i] == '.') {
      after_point = true;
      continue;
    }
    digits = digits * 10 + static_cast<uint64_t>(text[i] - '0');
    if (after_point) ++fraction_digits;
  }
  exponent = std::stoi(text.substr(e + 1)) - fraction_digits;
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

int digit_count(uint64_t n) {
  int count = 1;
  while (n >= 10) n /= 10, ++count;
  return count;
}

// digits * 10^exponent in lowest terms, exponent < 0; false when the
// denominator passes kMax.
bool exact_decimal(uint64_t digits, int exponent, Fraction& out) {
  int k = -exponent;
  int twos = k - std::min(times_divisible(digits, 2), k);
  int fives = k - std::min(times_divisible(digits, 5), k);
  if (twos > 31 || fives > 13 || power(2, twos) * power(5, fives) > kMax) return false;
  out.denominator = power(2, twos) * power(5, fives);
  out.numerator = digits / power(2, k - twos) / power(5, k - fives);
  return true;
}

// The largest j >= 1, and at most cap, for which holds(j); holds(1) is
// true and holds is true up to some j and false after it. Galloping, then
// halving: as many tests as twice the bits of j.
template <typename Holds>
uint64_t last_true(Holds holds, uint64_t cap) {
  uint64_t good = 1, step = 1;
  while (good < cap) {
    uint64_t next = cap - good < step ? cap : good + step;
    if (!holds(next)) break;
    good = next;
    step *= 2;
  }
  for (step /= 2; step > 0; step /= 2) {
    if (good + step <= cap && holds(good + step)) good += step;
  }
  return good;
}

}  // namespace

std::string shortest_text(double value) {
  if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e17) {
    return printed(value, std::chars_format::fixed, 0);
  }
  std::string text;
  for (int precision = 1; precision <= 17; ++precision) {
    text = printed(value, std::chars_format::general, precision);
    if (reads_back(text, value)) break;
  }
  return text;
}

// The descent of the Stern-Brocot tree (Graham, Knuth and Patashnik,
// Concrete Mathematics, 2nd ed., section 4.5): a/b < lo and hi < c/d are
// neighbours in it, and every fraction between two neighbours has a
// denominator of at least b + d, so the first mediant (a + c) / (b + d)
// that falls in [lo, hi] is the simplest fraction there. A run of steps
// in one direction, one partial quotient of the continued fraction, is
// taken at once.
bool simplest_fraction(long double lo, long double hi, uint64_t max_denominator, Fraction& out) {
  // Every number below stays under 2^63.
  if (max_denominator > (uint64_t{1} << 31) || hi * max_denominator >= 0x1p62L) return false;
  uint64_t max_numerator = static_cast<uint64_t>(hi * max_denominator) + 1;
  uint64_t a = 0, b = 1, c = 1, d = 0;
  for (;;) {
    uint64_t p = a + c, q = b + d;
    if (q > max_denominator || p > max_numerator) return false;
    if (p < lo * q) {
      // (a + j c) / (b + j d) rises towards c/d: the last one below lo.
      auto below = [&](uint64_t j) { return a + j * c < lo * (b + j * d); };
      uint64_t cap = d == 0 ? max_numerator : (max_denominator - b) / d;
      uint64_t j = last_true(below, cap);
      a += j * c, b += j * d;
    } else if (p > hi * q) {
      auto above = [&](uint64_t j) { return c + j * a > hi * (d + j * b); };
      uint64_t j = last_true(above, (max_denominator - d) / b);
      c += j * a, d += j * b;
    } else {
      out = {p, q};
      return true;
    }
  }
}

Reading read_fraction(double magnitude) {
  uint64_t digits;
  int exponent;
  decimal_of(magnitude, digits, exponent);
  Reading r;
  if (exact_decimal(digits, exponent, r.value)) return r;
  if (digit_count(digits) < kNoiseDigits) return {Reading::TOO_FINE, {}};
  long double ulp = std::nextafter(magnitude, INFINITY) - magnitude;
  long double w = std::max(std::pow(10.0L, exponent), kComputedUlps * ulp);
  long double bound = std::floor(std::sqrt(kChance / w));
  uint64_t max_denominator = bound < kMax ? static_cast<uint64_t>(bound) : kMax;
  long double m = magnitude;
  r.kind = simplest_fraction(m - w, m + w, max_denominator, r.value) ? Reading::FRACTION
                                                                     : Reading::NO_FRACTION;
  return r;
}

}  // namespace crninv::convert
