// The fractions that stoichiometries stand for: the simplest fraction in an
// interval, and how a double with or without float noise is read.
#include "convert/rational.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "convert/stoichiometry.h"

namespace {

using crninv::convert::Fraction;
using crninv::convert::read_fraction;
using crninv::convert::Reading;
using crninv::convert::scale_to_integers;
using crninv::convert::Scaling;
using crninv::convert::shortest_text;
using crninv::convert::simplest_fraction;

// What printf writes in the C locale: the texts of messages that users
// and scripts read.
std::string printf_shortest(double value) {
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

TEST(ShortestText, WritesWhatPrintfWrites) {
  std::vector<double> values = {
      0.1, 1e-10,     3e9,   -2147483648.0, 0.333333333333333,  M_PI, 1e17, 1.5e300, 5e-324,
      NAN, -INFINITY, 59.81, 0.0709,        0.30000000000000004};
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int i = 0; i < 2000; ++i)
    values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
  for (double v : values) EXPECT_EQ(shortest_text(v), printf_shortest(v)) << v;
}

TEST(SimplestFraction, KnownIntervals) {
  const struct {
    long double lo, hi;
    uint64_t max_denominator;
    bool found;
    uint64_t p, q;
  } cases[] = {
      {0.3L, 0.4L, 100, true, 1, 3},
      {2.5L, 2.5L, 100, true, 5, 2},
      {7.0L, 7.5L, 100, true, 7, 1},
      {0.9L, 1.1L, 100, true, 1, 1},
      {3.14159L, 3.1416L, 1000, true, 355, 113},
      {3.14159L, 3.1416L, 112, false, 0, 0},
      {0.3333L, 0.3334L, 2, false, 0, 0},
      {0.3333L, 0.3334L, 3, true, 1, 3},
      // Long runs of one direction: 1/q near 0, q/1 far out.
      {1e-9L, 2e-9L, 2147483647, true, 1, 500000000},
      {123456.2L, 123456.7L, 10, true, 246913, 2},
      {0.14285714L, 0.14285715L, 1000, true, 1, 7},
  };
  for (const auto& c : cases) {
    Fraction f;
    bool found = simplest_fraction(c.lo, c.hi, c.max_denominator, f);
    EXPECT_EQ(found, c.found) << c.lo << " " << c.hi;
    if (found && c.found) {
      EXPECT_EQ(f.numerator, c.p) << c.lo << " " << c.hi;
      EXPECT_EQ(f.denominator, c.q) << c.lo << " " << c.hi;
    }
  }
}

// Against the search by every denominator in turn, on random intervals.
TEST(SimplestFraction, AgreesWithTryingEveryDenominator) {
  std::mt19937_64 random(20240613);
  std::uniform_real_distribution<long double> start(0.001L, 20.0L);
  std::uniform_int_distribution<int> digits(1, 8);
  const uint64_t kLimit = 20000;
  for (int trial = 0; trial < 300; ++trial) {
    long double lo = start(random);
    long double hi = lo + std::pow(10.0L, -digits(random));
    uint64_t p = 0, q = 1;
    for (; q <= kLimit; ++q) {
      p = static_cast<uint64_t>(std::ceil(lo * q));
      if (p <= hi * q) break;
    }
    Fraction f;
    bool found = simplest_fraction(lo, hi, kLimit, f);
    ASSERT_EQ(found, q <= kLimit) << lo << " " << hi;
    if (found) {
      EXPECT_EQ(f.numerator, p) << lo << " " << hi;
      EXPECT_EQ(f.denominator, q) << lo << " " << hi;
    }
  }
}

TEST(ReadFraction, ExactDecimalsNoiseAndNumbersThatAreNoFraction) {
  const struct {
    double value;
    Reading::Kind kind;
    uint64_t p, q;
  } cases[] = {
      // Decimals whose denominators fit are exact, as short as written.
      {59.81, Reading::EXACT, 5981, 100},
      {0.0709, Reading::EXACT, 709, 10000},
      {0.33333333, Reading::EXACT, 33333333, 100000000},
      {0.0009765625, Reading::EXACT, 1, 1024},
      // Written with float noise: the digits give the precision.
      {4.33333333333333, Reading::FRACTION, 13, 3},
      {0.333333333333333, Reading::FRACTION, 1, 3},
      {0.000892666666666666, Reading::FRACTION, 1339, 1500000},
      {0.1428571429, Reading::FRACTION, 1, 7},
      // Computed: a few units in the last place of the double.
      {1.0 / 3, Reading::FRACTION, 1, 3},
      {13.0 / 3, Reading::FRACTION, 13, 3},
      {0.1 + 0.2, Reading::FRACTION, 3, 10},
      {2.0 / 7 * 3, Reading::FRACTION, 6, 7},
      {1.0 / 2147483647, Reading::FRACTION, 1, 2147483647},
      // No fraction with a small denominator explains these digits.
      {M_PI, Reading::NO_FRACTION, 0, 0},
      {3.14159265358979, Reading::NO_FRACTION, 0, 0},
      {std::log(5.0), Reading::NO_FRACTION, 0, 0},
      {std::sqrt(2.0), Reading::NO_FRACTION, 0, 0},
      {0.1234567891, Reading::NO_FRACTION, 0, 0},
      // Too few digits to read as noise, too fine to be exact.
      {1e-10, Reading::TOO_FINE, 0, 0},
      {1.5e-12, Reading::TOO_FINE, 0, 0},
      {2.5e-11, Reading::TOO_FINE, 0, 0},
      // Above 2^31 a double has 7 decimals at most: exact.
      {3000000000.3333335, Reading::EXACT, 6000000000666667, 2000000},
  };
  for (const auto& c : cases) {
    Reading r = read_fraction(c.value);
    EXPECT_EQ(r.kind, c.kind) << c.value;
    if (c.kind == Reading::EXACT || c.kind == Reading::FRACTION) {
      EXPECT_EQ(r.value.numerator, c.p) << c.value;
      EXPECT_EQ(r.value.denominator, c.q) << c.value;
    }
  }
}

TEST(ScaleToIntegers, FractionsWithinTheirPrecisionAndValuesThatAreNone) {
  const struct {
    std::vector<double> in;
    bool ok;
    int32_t factor;
    std::vector<int32_t> out;
    std::vector<size_t> approximated;
    size_t culprit;
    bool no_fraction;
    const char* reason;
  } cases[] = {
      {{4.33333333333333, -1}, true, 3, {13, -3}, {0}, 0, false, ""},
      {{-1.0 / 3, 1.0 / 7, 0.5}, true, 42, {-14, 6, 21}, {0, 1}, 0, false, ""},
      {{59.81, 0.0709}, true, 10000, {598100, 709}, {}, 0, false, ""},
      // Pi is named before a value that is merely too large.
      {{3e9, M_PI},
       false,
       1,
       {},
       {},
       1,
       true,
       "is not a fraction with a small denominator, within its precision (3.141592653589793)"},
      {{1.0 / 2147483647, 1.0 / 2147483629},
       false,
       1,
       {},
       {},
       2,
       false,
       "the least common denominator of the stoichiometries is larger than 2147483647 "
       "(4611685975477714963)"},
      {{1.0 / 2147483647, 1.0 / 2147483629, 1.0 / 2147483587},
       false,
       1,
       {},
       {},
       3,
       false,
       "the least common denominator of the stoichiometries is larger than 2147483647 "
       "(more than 18446744073709551615)"},
  };
  for (const auto& c : cases) {
    Scaling s = scale_to_integers(c.in);
    ASSERT_EQ(s.ok, c.ok) << c.in[0] << ": " << s.reason;
    if (c.ok) {
      EXPECT_EQ(s.factor, c.factor);
      EXPECT_EQ(s.values, c.out);
      EXPECT_EQ(s.approximated, c.approximated);
    } else {
      EXPECT_EQ(s.culprit, c.culprit);
      EXPECT_EQ(s.no_fraction, c.no_fraction);
      EXPECT_EQ(s.reason, c.reason);
    }
  }
}

}  // namespace
