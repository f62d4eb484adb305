#include "algebra/arith.h"

#include <cstdlib>
#include <iostream>

const char kMultiplyOverflow[] = "integer overflow on multiply";
const char kAdditionOverflow[] = "Integer overflow on addition";

uint32_t gcd(uint32_t a, uint32_t b) {
  while (b != 0) {
    uint32_t r = a % b;
    a = b;
    b = r;
  }
  return a;
}

// Divides before multiplying, so an lcm that fits is always exact.
uint32_t lcm(int32_t a, int32_t b) {
  uint32_t ma = magnitude(a);
  uint32_t mb = magnitude(b);
  uint32_t quotient = ma / gcd(ma, mb);
  if (quotient > static_cast<uint32_t>(INT32_MAX) / mb) fatal_overflow(kMultiplyOverflow);
  return quotient * mb;
}

// Only operands of the same sign can overflow; the sum -2147483648 fits.
void checked_add(int32_t& target, int32_t addend) {
  if (target >= 0 && addend >= 0) {
    if (addend > INT32_MAX - target) fatal_overflow(kAdditionOverflow);
  } else if (target < 0 && addend < 0) {
    if (addend < INT32_MIN - target) fatal_overflow(kAdditionOverflow);
  }
  target += addend;
}

namespace {
void (*before_fatal_message)() = nullptr;
void (*overflow_handler)() = nullptr;
}  // namespace

void set_overflow_handler(void (*handler)()) {
  overflow_handler = handler;
}

void set_before_fatal_message(void (*hook)()) {
  before_fatal_message = hook;
}

void fatal_overflow(const char* message) {
  if (overflow_handler != nullptr) overflow_handler();
  if (before_fatal_message != nullptr) before_fatal_message();
  std::cerr << message << '\n';
  std::cerr.flush();
  std::exit(1);
}
