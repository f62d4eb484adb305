// The arithmetic helpers: sign, magnitude, gcd, lcm and the guarded sum.
#include "algebra/arith.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "tests/test_util.h"

namespace {

// Whole standard error, not just a part of it.
std::string exactly(const std::string& text) {
  return "^" + literal_regex(text) + "$";
}

TEST(Arith, SignAndMagnitude) {
  const std::vector<std::tuple<int32_t, int32_t, uint32_t>> cases = {
      {0, 1, 0u},
      {7, 1, 7u},
      {-5, -1, 5u},
      {2147483647, 1, 2147483647u},
      {-2147483647, -1, 2147483647u},
      {INT32_MIN, -1, 2147483648u},
  };
  for (const auto& [x, s, m] : cases) {
    EXPECT_EQ(sign(x), s) << x;
    EXPECT_EQ(magnitude(x), m) << x;
  }
}

TEST(Arith, Gcd) {
  const std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> cases = {
      {12, 18, 6}, {18, 12, 6},        {7, 0, 7},           {0, 7, 7},
      {0, 0, 0},   {1, 2147483647, 1}, {2147483648u, 6, 2}, {2147483648u, 2147483648u, 2147483648u},
  };
  for (const auto& [a, b, g] : cases) EXPECT_EQ(gcd(a, b), g) << a << ", " << b;
}

TEST(Arith, Lcm) {
  const std::vector<std::tuple<int32_t, int32_t, uint32_t>> cases = {
      {-4, 6, 12},
      {4, -6, 12},
      {-4, -6, 12},
      {1, 1, 1},
      {1, -2147483647, 2147483647},
      {2147483647, 2147483647, 2147483647},
      // |a| * |b| does not fit in 32 bits, the lcm does.
      {65536 * 3, 65536 * 5, 65536 * 15},
      {46341, -46341, 46341},
      {2, 1073741824, 1073741824},
  };
  for (const auto& [a, b, l] : cases) EXPECT_EQ(lcm(a, b), l) << a << ", " << b;
}

TEST(ArithDeath, LcmTooLarge) {
  const std::vector<std::pair<int32_t, int32_t>> cases = {
      {65537, 65539}, {3, 1073741824}, {-2, 2147483647}, {INT32_MIN, 1}, {INT32_MIN, INT32_MIN},
  };
  for (const auto& [a, b] : cases) {
    EXPECT_EXIT(lcm(a, b), testing::ExitedWithCode(1), exactly("integer overflow on multiply\n"))
        << a << ", " << b;
  }
}

TEST(Arith, CheckedAddInRange) {
  const std::vector<std::tuple<int32_t, int32_t, int32_t>> cases = {
      {0, 0, 0},
      {2147483647, 0, 2147483647},
      {1073741824, 1073741823, 2147483647},
      {-2147483647, -1, INT32_MIN},
      {0, INT32_MIN, INT32_MIN},
      {2147483647, -2147483647, 0},
      {INT32_MIN, 2147483647, -1},
      {2147483647, INT32_MIN, -1},
  };
  for (auto [target, addend, sum] : cases) {
    checked_add(target, addend);
    EXPECT_EQ(target, sum) << addend;
  }
}

TEST(ArithDeath, CheckedAddOutOfRange) {
  const std::vector<std::pair<int32_t, int32_t>> cases = {
      {2147483647, 1}, {1073741824, 1073741824}, {-2147483647, -2},
      {INT32_MIN, -1}, {-1, INT32_MIN},
  };
  for (auto [target, addend] : cases) {
    EXPECT_EXIT(checked_add(target, addend), testing::ExitedWithCode(1),
                exactly("Integer overflow on addition\n"))
        << target << " + " << addend;
  }
}

TEST(ArithDeath, FatalOverflowWritesOneLine) {
  EXPECT_EXIT(fatal_overflow("some message"), testing::ExitedWithCode(1),
              exactly("some message\n"));
}

}  // namespace
