// Guarded 32-bit integer arithmetic for exact elimination. Every overflow
// ends the process with a one-line message; nothing wraps silently.
#ifndef CRNINV_ALGEBRA_ARITH_H_
#define CRNINV_ALGEBRA_ARITH_H_

#include <cstdint>

// The two overflow messages; the product's begins in lower case.
extern const char kMultiplyOverflow[];  // "integer overflow on multiply"
extern const char kAdditionOverflow[];  // "Integer overflow on addition"

// -1 for negative x, +1 otherwise (so the sign of 0 is +1).
inline int32_t sign(int32_t x) {
  return x < 0 ? -1 : 1;
}

// |x| as an unsigned value, so that -2147483648 has a magnitude too.
inline uint32_t magnitude(int32_t x) {
  return x < 0 ? 0u - static_cast<uint32_t>(x) : static_cast<uint32_t>(x);
}

// Euclid's algorithm; gcd(a, 0) = a and gcd(0, b) = b.
uint32_t gcd(uint32_t a, uint32_t b);

// Least common multiple of |a| and |b|, both nonzero. Ends the process with
// the multiply message when it exceeds 2147483647.
uint32_t lcm(int32_t a, int32_t b);

// target += addend; ends the process when the sum leaves the 32-bit range.
void checked_add(int32_t& target, int32_t addend);

// Writes message and a line feed to standard error and exits with status 1.
[[noreturn]] void fatal_overflow(const char* message);

// Called by fatal_overflow before it writes, so that whatever stands on the
// terminal's last line (a progress line) can be cleared first. Null: none.
void set_before_fatal_message(void (*hook)());

// Called by fatal_overflow before anything else: a reduction that can start
// again with wider integers throws from here instead of ending the run.
// Null: none.
void set_overflow_handler(void (*handler)());

#endif  // CRNINV_ALGEBRA_ARITH_H_
