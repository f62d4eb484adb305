// The integers of a wide reduction: 64 bits, 128 bits and GMP's, behind one
// set of operations. The fixed widths check every product and sum and
// throw WidthExceeded when a result does not fit, so that the reduction can
// start again one width up; GMP's integers never overflow.
#ifndef CRNINV_ALGEBRA_WIDE_INT_H_
#define CRNINV_ALGEBRA_WIDE_INT_H_

#include <gmpxx.h>

#include <cstdint>
#include <string>
#include <utility>

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

// Thrown by a fixed width that cannot hold a result.
struct WidthExceeded {};

template <typename T>
struct Exact;

// The operations of the fixed widths, checked; U is T's unsigned twin.
template <typename T, typename U>
struct FixedExact {
  // The lowest value, whose magnitude does not fit.
  static constexpr T kLowest = static_cast<T>(static_cast<U>(1) << (sizeof(T) * 8 - 1));

  static T mul(T a, T b) {
    T r;
    if (__builtin_mul_overflow(a, b, &r)) throw WidthExceeded();
    return r;
  }
  static T add(T a, T b) {
    T r;
    if (__builtin_add_overflow(a, b, &r)) throw WidthExceeded();
    return r;
  }
  static T abs(T a) {
    if (a == kLowest) throw WidthExceeded();
    return a < 0 ? -a : a;
  }
  static T negate(T a) {
    if (a == kLowest) throw WidthExceeded();
    return -a;
  }
  // f * v, where f is nearly always 1 or -1.
  static T times(T f, T v) {
    if (f == 1) return v;
    if (f == -1) return negate(v);
    return mul(f, v);
  }
  // Of magnitudes, by Stein's binary algorithm: shifts and subtractions,
  // no division, which costs tens of cycles at these widths.
  static T gcd(T a, T b) {
    if (a == 0) return b;
    if (b == 0) return a;
    U x = static_cast<U>(a), y = static_cast<U>(b);
    int shift = trailing_zeros(x | y);
    x >>= trailing_zeros(x);
    do {
      y >>= trailing_zeros(y);
      if (x > y) std::swap(x, y);
      y -= x;
    } while (y != 0);
    return static_cast<T>(x << shift);
  }
  static int trailing_zeros(U x) {  // x is not 0
    if (sizeof(U) == 8) return __builtin_ctzll(static_cast<uint64_t>(x));
    uint64_t low = static_cast<uint64_t>(x);
    return low != 0 ? __builtin_ctzll(low)
                    : 64 + __builtin_ctzll(static_cast<uint64_t>(x >> (sizeof(U) * 4)));
  }
  static T divide(T a, T b) {  // exact
    if (a == kLowest && b == -1) throw WidthExceeded();
    return a / b;
  }
  static int sign(T a) { return (a > 0) - (a < 0); }
  static bool is_one(T a) { return a == 1; }
  static bool is_unit(T a) { return a == 1 || a == -1; }
  static bool less(T a, T b) { return a < b; }
};

template <>
struct Exact<int64_t> : FixedExact<int64_t, uint64_t> {
  static int64_t from(int64_t v) { return v; }
};
template <>
struct Exact<Int128> : FixedExact<Int128, UInt128> {
  static Int128 from(int64_t v) { return v; }
};

template <>
struct Exact<mpz_class> {
  static mpz_class from(int64_t v) { return mpz_class(static_cast<long>(v)); }
  static mpz_class mul(const mpz_class& a, const mpz_class& b) { return a * b; }
  static mpz_class add(const mpz_class& a, const mpz_class& b) { return a + b; }
  static mpz_class abs(const mpz_class& a) { return ::abs(a); }
  static mpz_class negate(const mpz_class& a) { return -a; }
  static mpz_class times(const mpz_class& f, const mpz_class& v) { return f * v; }
  static mpz_class gcd(const mpz_class& a, const mpz_class& b) { return ::gcd(a, b); }
  static mpz_class divide(const mpz_class& a, const mpz_class& b) {
    mpz_class r;
    mpz_divexact(r.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
    return r;
  }
  static int sign(const mpz_class& a) { return sgn(a); }
  static bool is_one(const mpz_class& a) { return a == 1; }
  static bool is_unit(const mpz_class& a) { return a == 1 || a == -1; }
  static bool less(const mpz_class& a, const mpz_class& b) { return a < b; }
};

// Appends value in decimal ("3", "-2").
void append_decimal(std::string& text, int32_t value);
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

#endif  // CRNINV_ALGEBRA_WIDE_INT_H_
