// The fraction that a floating-point stoichiometry stands for. Models write
// decimals (59.81, 0.0709), which are exact; but also values with float
// noise, written as a program printed a double (4.33333333333333 for 13/3,
// 0.000892666666666666 for 1339/1500000) or computed by a formula (1/3 as
// 0.3333333333333333); and, now and then, values that are no fraction at
// all (pi, ln 5).
#ifndef CRNINV_CONVERT_RATIONAL_H_
#define CRNINV_CONVERT_RATIONAL_H_

#include <cstdint>
#include <string>

namespace crninv::convert {

struct Fraction {
  uint64_t numerator = 0;
  uint64_t denominator = 1;
};

// The shortest text that reads back as the same double, as printf's %g
// writes it ("0.1", "1e-10", "3000000000"), in any locale.
std::string shortest_text(double value);

// The simplest fraction in [lo, hi], 0 < lo <= hi: the one with the least
// denominator and, of those, the least numerator. False when that
// denominator would pass max_denominator, and when max_denominator passes
// 2^31 or hi * max_denominator 2^62.
bool simplest_fraction(long double lo, long double hi, uint64_t max_denominator, Fraction& out);

// Values given with fewer significant digits than this are taken as exact
// decimals, never as a rounded fraction.
constexpr int kNoiseDigits = 10;
// A fraction p/q read within a precision w must have q * q * w at most
// this. A unit interval holds about 0.3 Q^2 fractions with denominators up
// to Q, each matching the values within w of it: a value that means no
// fraction then matches one by chance about once in 16000.
constexpr long double kChance = 1e-4L;
// The units in the last place of a double that a computed value may be
// off by.
constexpr int kComputedUlps = 4;

// How a positive, finite value that is no whole number is read:
//  - EXACT: as the shortest decimal that gives back the same double, when
//    that decimal's denominator in lowest terms is at most 2147483647
//    (59.81 is 5981/100);
//  - FRACTION: else, when it has at least kNoiseDigits significant digits
//    (values above 2^31 never get here: they have 7 decimals at most), as
//    the simplest fraction within its
//    precision w, the larger of one unit in its last decimal digit (the
//    digits written, rounded or cut) and kComputedUlps units in the last
//    place of the double (a computed value), provided that the fraction's
//    denominator is small: at most 2147483647 and sqrt(kChance / w);
//  - NO_FRACTION: when there is no such fraction (pi, ln 5);
//  - TOO_FINE: a decimal with fewer digits whose denominator is too large
//    (1e-10).
struct Reading {
  enum Kind { EXACT, FRACTION, NO_FRACTION, TOO_FINE } kind = EXACT;
  Fraction value;  // when EXACT or FRACTION, in lowest terms
};
Reading read_fraction(double magnitude);

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_RATIONAL_H_
