// Support patterns of the rays in the double description method, and the
// search that its combinatorial adjacency test needs.
//
// Two extreme rays r1, r2 of the current cone are adjacent, and their
// combination an extreme ray of the next, exactly when no third ray has its
// support, on the constraints imposed so far, inside the union of theirs
// (Fukuda & Prodon 1996; for semiflows, the minimal-support test of
// Martinez & Silva 1982 and Colom & Silva 1991). The search for such a third
// ray goes through a bit-pattern tree (Terzer & Stelling 2008): a binary
// tree over the rays, split on one bit at each node, that keeps at each node
// the bits common to all the rays below it. A subtree whose common bits
// leave the union is skipped whole, and so is the side of a split whose bit
// the union lacks.
#ifndef CRNINV_ALGEBRA_SEMIFLOW_PATTERNS_H_
#define CRNINV_ALGEBRA_SEMIFLOW_PATTERNS_H_

#include <cstdint>
#include <vector>

#include "algebra/row_storage.h"

using Words = std::vector<uint64_t, Accounted<uint64_t>>;

inline bool has_bit(const uint64_t* p, uint32_t bit) {
  return (p[bit / 64] >> (bit % 64)) & 1;
}
// The number of bits set, inline (without -mpopcnt the builtin is a call).
inline uint32_t bit_count(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555u;
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fu;
  return static_cast<uint32_t>((x * 0x0101010101010101u) >> 56);
}
inline void set_bit(uint64_t* p, uint32_t bit) {
  p[bit / 64] |= uint64_t{1} << (bit % 64);
}

class PatternTree {
 public:
  // Over rays [0, count), whose patterns are patterns[r * words ...], of
  // which only the words listed in active may be nonzero once masked; only
  // the bits of mask count.
  PatternTree(const uint64_t* patterns, uint32_t words, uint32_t count, const uint64_t* mask,
              const std::vector<uint32_t>& active);

  // Whether a ray other than skip_a and skip_b has its masked pattern inside
  // u, given as one word per active word.
  bool has_subset(const uint64_t* u, uint32_t skip_a, uint32_t skip_b) const;

 private:
  static constexpr uint32_t kLeaf = 8;
  static constexpr uint32_t kMaxDepth = 64;
  struct Node {
    uint32_t begin, end;  // of order
    uint32_t slot;        // the split bit: in active word slot, UINT32_MAX for a leaf
    uint64_t bit;
    uint32_t zero, one;  // children: rays without and with the bit
  };

  uint32_t build(uint32_t begin, uint32_t end, uint32_t depth);
  // A bit that about half of the rays in order[begin, end) have, judged on a
  // sample; false when they all agree on every bit.
  bool split_bit(uint32_t begin, uint32_t end, const uint64_t* common, Node* node);
  // Ray r's masked pattern in active word slot k.
  uint64_t word(uint32_t r, uint32_t k) const {
    return patterns[uint64_t{r} * words + active[k]] & mask[active[k]];
  }

  const uint64_t* patterns;
  uint32_t words;
  const uint64_t* mask;
  const std::vector<uint32_t>& active;
  std::vector<uint32_t> order;
  std::vector<Node> nodes;
  Words common;                 // active.size() words per node: the bits all its rays have
  std::vector<uint32_t> tally;  // scratch for split_bit, one count per bit
};

#endif  // CRNINV_ALGEBRA_SEMIFLOW_PATTERNS_H_
