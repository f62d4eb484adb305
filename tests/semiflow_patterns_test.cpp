// The bit-pattern tree's subset search against a scan of every pattern, on
// random patterns dense and sparse enough for both kinds of pruning.
#include "algebra/semiflow_patterns.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

TEST(PatternTree, FindsASubsetExactlyWhenAScanDoes) {
  std::mt19937_64 random(11);
  for (uint32_t round = 0; round < 40; ++round) {
    uint32_t words = 1 + round % 3, count = 1 + random() % 400;
    // Sparse patterns (a few bits each) over a mask that hides some bits.
    std::vector<uint64_t> patterns(words * count), mask(words);
    for (uint64_t& m : mask) m = random() | random();
    for (uint64_t& p : patterns) p = random() & random() & random() & random();
    std::vector<uint32_t> active;
    for (uint32_t w = 0; w < words; ++w) active.push_back(w);
    PatternTree tree(patterns.data(), words, count, mask.data(), active);
    for (uint32_t query = 0; query < 200; ++query) {
      // The union of two patterns, with a few more bits now and then.
      uint32_t a = random() % count, b = random() % count;
      std::vector<uint64_t> u(words);
      for (uint32_t w = 0; w < words; ++w) {
        u[w] = (patterns[a * words + w] | patterns[b * words + w]) & mask[w];
        if (query % 3 == 0) u[w] |= random() & random() & mask[w];
      }
      bool scan = false;
      for (uint32_t r = 0; r < count && !scan; ++r) {
        if (r == a || r == b) continue;
        bool inside = true;
        for (uint32_t w = 0; w < words; ++w) {
          inside = inside && (patterns[r * words + w] & mask[w] & ~u[w]) == 0;
        }
        scan = inside;
      }
      ASSERT_EQ(tree.has_subset(u.data(), a, b), scan) << "round " << round << " query " << query;
    }
  }
}

}  // namespace
