// The exact integers of every width: their checked operations, the one
// overflow signal with its message, the gcd and the multipliers of an
// elimination step.
#include "base/exact.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace crninv;

// The message of the WidthExceeded that f throws, or "" when it throws
// none.
template <typename F>
std::string overflow_message(F f) {
  try {
    f();
  } catch (const WidthExceeded& e) {
    return e.message;
  }
  return "";
}

TEST(Exact, SignAndMagnitude) {
  const std::vector<std::tuple<int32_t, int, uint32_t>> cases = {
      {0, 0, 0u},
      {7, 1, 7u},
      {-5, -1, 5u},
      {2147483647, 1, 2147483647u},
      {-2147483647, -1, 2147483647u},
      {INT32_MIN, -1, 2147483648u},
  };
  for (const auto& [x, s, m] : cases) {
    EXPECT_EQ(sign(x), s) << x;
    EXPECT_EQ(sign(int64_t{x}), s) << x;
    EXPECT_EQ(sign(mpz_class(x)), s) << x;
    EXPECT_EQ(magnitude(x), m) << x;
  }
}

TEST(Exact, GcdOfMagnitudes) {
  const std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> cases = {
      {12, 18, 6}, {18, 12, 6},        {7, 0, 7},           {0, 7, 7},
      {0, 0, 0},   {1, 2147483647, 1}, {2147483648u, 6, 2}, {2147483648u, 2147483648u, 2147483648u},
  };
  for (const auto& [a, b, g] : cases) {
    EXPECT_EQ(magnitude_gcd(a, b), g) << a << ", " << b;
    EXPECT_EQ(magnitude_gcd(uint64_t{a} << 32, uint64_t{b} << 32), uint64_t{g} << 32);
    EXPECT_EQ(Exact<Int128>::gcd(Int128{a} << 80, Int128{b} << 80), Int128{g} << 80);
    EXPECT_EQ(Exact<mpz_class>::gcd(a, b), g);
  }
}

// c * t + b * p = 0 with |c| = lcm(|t|, |p|) / |t|, c's sign opposite to
// p's and b's that of t, at 32 bits and at 64.
TEST(Exact, CancellingMultipliers) {
  const std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t>> cases = {
      {4, 6, -3, 2},
      {2, -3, 3, 2},
      {-2, 1, -1, -2},
      {1, 1, -1, 1},
      {1, -2147483647, 2147483647, 1},
      {2147483647, 2147483647, -1, 1},
      // |t| * |p| does not fit in 32 bits, the multipliers do.
      {65536 * 3, 65536 * 5, -5, 3},
      {46341, -46341, 1, 1},
  };
  for (const auto& [t, p, c, b] : cases) {
    int32_t c32, b32;
    cancelling_multipliers(t, p, &c32, &b32);
    EXPECT_EQ(c32, c) << t << ", " << p;
    EXPECT_EQ(b32, b) << t << ", " << p;
    int64_t c64, b64;
    cancelling_multipliers(int64_t{t}, int64_t{p}, &c64, &b64);
    EXPECT_EQ(c64 * t + b64 * p, 0);
    EXPECT_EQ(c64, c);
  }
}

// -2147483648 has no 32-bit magnitude: a multiplier made from it is a
// product that does not fit.
TEST(Exact, MultipliersOfTheLowestValueOverflow) {
  for (std::pair<int32_t, int32_t> tp :
       {std::pair{INT32_MIN, 1}, {1, INT32_MIN}, {INT32_MIN, INT32_MIN}}) {
    int32_t c, b;
    EXPECT_EQ(overflow_message([&] { cancelling_multipliers(tp.first, tp.second, &c, &b); }),
              kMultiplyOverflow);
  }
}

TEST(Exact, SumsInRange) {
  const std::vector<std::tuple<int32_t, int32_t, int32_t>> cases = {
      {0, 0, 0},
      {2147483647, 0, 2147483647},
      {1073741824, 1073741823, 2147483647},
      {-2147483647, -1, INT32_MIN},
      {0, INT32_MIN, INT32_MIN},
      {2147483647, -2147483647, 0},
      {INT32_MIN, 2147483647, -1},
  };
  for (auto [a, b, sum] : cases) EXPECT_EQ(Exact<int32_t>::add(a, b), sum) << a << " + " << b;
}

// Each fixed width signals a sum or a product past it with the message of
// the run, and GMP's integers never do.
TEST(Exact, OverflowsAtEveryWidth) {
  EXPECT_EQ(overflow_message([] { Exact<int32_t>::add(2147483647, 1); }), kAdditionOverflow);
  EXPECT_EQ(overflow_message([] { Exact<int32_t>::add(-2147483647, -2); }), kAdditionOverflow);
  EXPECT_EQ(overflow_message([] { Exact<int32_t>::mul(65536, 32768); }), kMultiplyOverflow);
  EXPECT_EQ(overflow_message([] { Exact<int32_t>::from(int64_t{1} << 31); }), kAdditionOverflow);
  EXPECT_EQ(overflow_message([] { Exact<int64_t>::add(INT64_MAX, 1); }), kAdditionOverflow);
  EXPECT_EQ(overflow_message([] { Exact<int64_t>::negate(INT64_MIN); }), kMultiplyOverflow);
  EXPECT_EQ(overflow_message([] { Exact<int64_t>::divide(INT64_MIN, -1); }), kMultiplyOverflow);
  Int128 big = Int128{1} << 100;
  EXPECT_EQ(overflow_message([&] { Exact<Int128>::mul(big, big); }), kMultiplyOverflow);
  EXPECT_EQ(overflow_message([&] { Exact<mpz_class>::mul(mpz_class(1) << 100, 1 << 30); }), "");
  EXPECT_EQ(Exact<int64_t>::mul(3037000499, 3037000499), int64_t{9223372030926249001});
}

}  // namespace
