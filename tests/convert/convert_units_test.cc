// Identifiers made from foreign ids, and whole-number stoichiometries.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "convert/names.h"
#include "convert/stoichiometry.h"

namespace {

using crninv::convert::Naming;
using crninv::convert::scale_to_integers;
using crninv::convert::Scaling;
using crninv::convert::unique_identifiers;

using Strings = std::vector<std::string>;

TEST(UniqueIdentifiers, KeepsValidIdsAndSuffixesTheRest) {
  struct Case {
    Strings ids, names;
    size_t changed;
  };
  const Case cases[] = {
      // p_1_2 is an id of its own: the renamed p-1 must not take it.
      {{"p_1", "p-1", "p+1", "p_1_2"}, {"p_1", "p_1_3", "p_1_4", "p_1_2"}, 2},
      {{"", "9x", "[c]", "a]", "\xc3\xa9", "_"}, {"__2", "_9x", "_[c]", "a]", "__", "_"}, 4},
      {{"A", "A", "a"}, {"A", "A_2", "a"}, 1},
  };
  for (const Case& c : cases) {
    Naming n = unique_identifiers(c.ids);
    EXPECT_EQ(n.names, c.names) << c.ids[0];
    EXPECT_EQ(n.changed, c.changed) << c.ids[0];
  }
}

TEST(ScaleToIntegers, MultipliesByTheLeastCommonDenominator) {
  struct Case {
    std::vector<double> in;
    int32_t factor;
    std::vector<int32_t> out;
  };
  const Case cases[] = {
      {{-0.5, 1.5}, 2, {-1, 3}},
      {{0.1, -0.25, 1}, 20, {2, -5, 20}},
      {{0.2, 0.125}, 40, {8, 5}},
      {{-0.001, 0}, 1000, {-1, 0}},
      {{3, -2147483647}, 1, {3, -2147483647}},
  };
  for (const Case& c : cases) {
    Scaling s = scale_to_integers(c.in);
    ASSERT_TRUE(s.ok) << s.reason;
    EXPECT_EQ(s.factor, c.factor);
    EXPECT_EQ(s.values, c.out);
  }
}

TEST(ScaleToIntegers, RefusesWhatDoesNotFit) {
  struct Case {
    std::vector<double> in;
    size_t culprit;
    const char* reason;
  };
  const Case cases[] = {
      {{1, NAN}, 1, "is not a finite number (nan)"},
      {{-2147483648.0}, 0, "is larger than 2147483647 (2147483648)"},
      {{0.1, 1e-10}, 1, "has a denominator larger than 2147483647 (1e-10)"},
      // 2^-10 and 5^-13 fit alone; their denominators' product does not.
      {{0.0009765625, 8.192e-10},
       2,
       "the least common denominator of the stoichiometries is larger than 2147483647 "
       "(1250000000000)"},
      {{1073741824, 0.5}, 0, "is larger than 2147483647 when scaled by 2 (1073741824)"},
  };
  for (const Case& c : cases) {
    Scaling s = scale_to_integers(c.in);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.culprit, c.culprit);
    EXPECT_EQ(s.reason, c.reason);
  }
}

}  // namespace
