// The bit-pattern tree's subset search against a scan of every pattern, on
// random patterns dense and sparse enough for both kinds of pruning.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "semiflows/patterns.h"

namespace {

using namespace crninv;

TEST(PatternTree, FindsASubsetExactlyWhenAScanDoes) {
  std::mt19937_64 random(11);
  for (uint32_t round = 0; round < 40; ++round) {
    uint32_t words = 1 + round % 5, count = 1 + random() % 400;
    // Patterns of a few bits in most words, over a mask that hides some
    // bits: about a fifth of the queries find no subset.
    std::vector<uint64_t> dense(words * count), mask(words);
    for (uint64_t& m : mask) m = random() | random();
    for (uint64_t& p : dense) p = random() % 4 ? random() & random() & random() : 0;
    Patterns patterns(count);
    for (uint32_t r = 0; r < count; ++r) {
      std::vector<uint32_t> bits;
      for (uint32_t b = 0; b < words * 64; ++b) {
        if (has_bit(&dense[r * words], b)) bits.push_back(b);
      }
      patterns[r] = pattern_of(bits);
    }
    PatternTree tree(patterns, mask.data(), words);
    for (uint32_t query = 0; query < 200; ++query) {
      // The union of two patterns, with a few more bits now and then.
      uint32_t a = random() % count, b = random() % count;
      std::vector<uint64_t> u(words);
      for (uint32_t w = 0; w < words; ++w) {
        u[w] = (dense[a * words + w] | dense[b * words + w]) & mask[w];
        if (query % 3 == 0) u[w] |= random() & random() & mask[w];
      }
      bool scan = false;
      for (uint32_t r = 0; r < count && !scan; ++r) {
        if (r == a || r == b) continue;
        bool within = true;
        for (uint32_t w = 0; w < words; ++w) {
          within = within && (dense[r * words + w] & mask[w] & ~u[w]) == 0;
        }
        scan = within;
      }
      ASSERT_EQ(tree.has_subset(u.data(), a, b), scan) << "round " << round << " query " << query;
      ASSERT_EQ(inside(patterns[a], mask.data(), u.data()), true);
    }
  }
}

}  // namespace
