// Exact integers of every width the computations use, behind one set of
// operations: Exact<T> for 32, 64 and 128 bits, checked, and for GMP's
// integers, which never overflow. A fixed width that cannot hold a result
// throws WidthExceeded, the one overflow signal: a computation then starts
// again one width up (widen.h), or, where the width is the specified 32
// bits, the call ends with crninv::Overflow and the signal's message.
#ifndef CRNINV_BASE_EXACT_H_
#define CRNINV_BASE_EXACT_H_

#include <gmpxx.h>

#include <cstdint>
#include <utility>

#include "crninv/errors.h"

namespace crninv {

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

// Thrown by a fixed width that cannot hold a result: a product (or a
// magnitude, a negation, a quotient) or a sum.
struct WidthExceeded {
  const char* message = kMultiplyOverflow;  // or kAdditionOverflow
};

[[noreturn]] void width_exceeded(const char* message);

template <typename T>
struct Exact;

// The gcd of two magnitudes; gcd(a, 0) = a, gcd(0, b) = b. At 32 bits
// Euclid's algorithm, whose division the processor does in a few cycles;
// wider, Stein's binary algorithm: shifts and subtractions, no division,
// which costs tens of cycles at 64 and 128 bits.
template <typename U>
U magnitude_gcd(U x, U y) {
  if (sizeof(U) <= 4) {
    while (y != 0) {
      U r = x % y;
      x = y;
      y = r;
    }
    return x;
  }
  if (x == 0) return y;
  if (y == 0) return x;
  auto trailing_zeros = [](U v) {  // v is not 0
    uint64_t low = static_cast<uint64_t>(v);
    if (sizeof(U) <= 8 || low != 0) return __builtin_ctzll(low);
    return 64 + __builtin_ctzll(static_cast<uint64_t>(v >> (sizeof(U) * 4)));
  };
  int shift = trailing_zeros(x | y);
  x >>= trailing_zeros(x);
  do {
    y >>= trailing_zeros(y);
    if (x > y) std::swap(x, y);
    y -= x;
  } while (y != 0);
  return static_cast<U>(x << shift);
}

// |x| as an unsigned value, so that the lowest value has a magnitude too.
inline uint32_t magnitude(int32_t x) {
  return x < 0 ? 0u - static_cast<uint32_t>(x) : static_cast<uint32_t>(x);
}

// The operations of the fixed widths, checked; U is T's unsigned twin.
template <typename T, typename U>
struct FixedExact {
  // The lowest value, whose magnitude does not fit.
  static constexpr T kLowest = static_cast<T>(static_cast<U>(1) << (sizeof(T) * 8 - 1));

  static T from(int64_t v) {
    if (sizeof(T) < sizeof(int64_t) && static_cast<int64_t>(static_cast<T>(v)) != v) {
      width_exceeded(kAdditionOverflow);
    }
    return static_cast<T>(v);
  }
  static T mul(T a, T b) {
    T r;
    if (__builtin_mul_overflow(a, b, &r)) width_exceeded(kMultiplyOverflow);
    return r;
  }
  static T add(T a, T b) {
    T r;
    if (__builtin_add_overflow(a, b, &r)) width_exceeded(kAdditionOverflow);
    return r;
  }
  static T abs(T a) {
    if (a == kLowest) width_exceeded(kMultiplyOverflow);
    return a < 0 ? -a : a;
  }
  static T negate(T a) {
    if (a == kLowest) width_exceeded(kMultiplyOverflow);
    return -a;
  }
  // f * v, where f is nearly always 1 or -1.
  static T times(T f, T v) {
    if (f == 1) return v;
    if (f == -1) return negate(v);
    return mul(f, v);
  }
  // Of magnitudes.
  static T gcd(T a, T b) {
    return static_cast<T>(magnitude_gcd(static_cast<U>(a), static_cast<U>(b)));
  }
  static T divide(T a, T b) {  // exact
    if (a == kLowest && b == -1) width_exceeded(kMultiplyOverflow);
    return a / b;
  }
  static int sign(T a) { return (a > 0) - (a < 0); }
  static bool is_one(T a) { return a == 1; }
  static bool is_unit(T a) { return a == 1 || a == -1; }
  static bool less(T a, T b) { return a < b; }
};

template <>
struct Exact<int32_t> : FixedExact<int32_t, uint32_t> {};
template <>
struct Exact<int64_t> : FixedExact<int64_t, uint64_t> {};
template <>
struct Exact<Int128> : FixedExact<Int128, UInt128> {};

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

// -1, 0 or 1, at every width.
template <typename T>
int sign(const T& x) {
  return Exact<T>::sign(x);
}

// The multipliers of one elimination step: c * t + b * p = 0 for two
// nonzero entries t (of the row being cleared) and p (of the pivot), with
// c = |p| / g taking the sign opposite to p's and b = |t| / g taking t's,
// g = gcd(|t|, |p|). Every fraction-free elimination here combines rows
// with them: a row against its pivot, a kernel vector against another, and
// a positive ray against a negative one (both multipliers then positive).
template <typename T>
void cancelling_multipliers(const T& t, const T& p, T* c, T* b) {
  using X = Exact<T>;
  T mt = X::abs(t), mp = X::abs(p);
  T g = X::gcd(mt, mp);
  *c = X::divide(mp, g);
  *b = X::divide(mt, g);
  if (X::sign(p) > 0) *c = X::negate(*c);
  if (X::sign(t) < 0) *b = X::negate(*b);
}

}  // namespace crninv

#endif  // CRNINV_BASE_EXACT_H_
