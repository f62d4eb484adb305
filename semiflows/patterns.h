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
//
// A ray's support is a handful of coordinates among thousands, so a pattern
// is held sparse: its nonzero 64-bit words with their positions. The union
// a query asks about is held dense, so that each word of a pattern finds its
// counterpart at once.
#ifndef CRNINV_SEMIFLOWS_PATTERNS_H_
#define CRNINV_SEMIFLOWS_PATTERNS_H_

#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "base/storage.h"

namespace crninv {

using Words = std::vector<uint64_t, Accounted<uint64_t>>;

struct PatternWord {
  uint32_t word;  // bits [64 * word, 64 * word + 64)
  uint64_t bits;
};
// The nonzero words of a set of bits, in increasing position.
using Pattern = std::vector<PatternWord, Accounted<PatternWord>>;
// Containers as large as the set of rays count in the memory account.
template <typename T>
using RayVector = std::vector<T, Accounted<T>>;
using Patterns = RayVector<Pattern>;

inline bool has_bit(const uint64_t* p, uint32_t bit) {
  return (p[bit / 64] >> (bit % 64)) & 1;
}
inline void set_bit(uint64_t* p, uint32_t bit) {
  p[bit / 64] |= uint64_t{1} << (bit % 64);
}

// The number of bits set, inline (without -mpopcnt the builtin is a call).
inline uint32_t bit_count(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555u;
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fu;
  return static_cast<uint32_t>((x * 0x0101010101010101u) >> 56);
}

// The pattern of a set of bit positions (in any order, each once).
Pattern pattern_of(std::vector<uint32_t> bits);

// Whether p, restricted to mask, lies inside u (both dense).
inline bool inside(const Pattern& p, const uint64_t* mask, const uint64_t* u) {
  for (const PatternWord& w : p) {
    if (w.bits & mask[w.word] & ~u[w.word]) return false;
  }
  return true;
}

class PatternTree {
 public:
  // Over rays [0, patterns.size()); only the bits of mask count. Both must
  // outlive the tree and stay unchanged. Building a node is a heavy tick of
  // monitor, when given: a tree over many rays takes a while.
  PatternTree(const Patterns& patterns, const uint64_t* mask, uint32_t words,
              Monitor* monitor = nullptr);

  // Whether a ray other than skip_a and skip_b has its masked pattern inside
  // u, a dense set of words with the mask applied.
  bool has_subset(const uint64_t* u, uint32_t skip_a, uint32_t skip_b) const;

 private:
  static constexpr uint32_t kLeaf = 8;
  static constexpr uint32_t kMaxDepth = 64;
  struct Node {
    uint32_t begin, end;                // rays: order[begin, end)
    uint32_t common_begin, common_end;  // the bits they all have: common[...]
    uint32_t word;                      // the split bit's word, UINT32_MAX for a leaf
    uint64_t bit;
    uint32_t zero, one;  // children: rays without and with the bit
  };

  uint32_t build(uint32_t begin, uint32_t end, uint32_t depth);
  // The masked bits that every ray in order[begin, end) has, appended to
  // common.
  void append_common(uint32_t begin, uint32_t end);
  // A bit outside the common ones that about half of the rays have, judged
  // on a sample; false when none is found.
  bool split_bit(uint32_t begin, uint32_t end, const Node& node, uint32_t* word, uint64_t* bit);
  bool ray_has(uint32_t r, uint32_t word, uint64_t bit) const;

  const Patterns& patterns;
  const uint64_t* mask;
  Monitor* monitor;
  RayVector<uint32_t> order;
  RayVector<Node> nodes;
  RayVector<PatternWord> common;
  std::vector<uint32_t> tally;  // scratch for split_bit, one count per bit
  std::vector<uint64_t> dense;  // scratch, all zero between uses
};

// The rays grouped by the lowest bit of their pattern. In the double
// description every ray has a bit among the owned coordinates, which take
// the lowest bits, and a ray inside a union has its lowest bit in it: the
// rays to test are those listed under the union's own bits, and a union
// holds few of the thousands of owned bits.
class LowestBitIndex {
 public:
  // Over rays [0, patterns.size()), whose lowest bits are all below bits
  // and in mask. Both must outlive the index and stay unchanged.
  LowestBitIndex(const Patterns& patterns, const uint64_t* mask, uint32_t bits);

  // As PatternTree::has_subset; u_words lists the words where u may be
  // nonzero. Adds the rays it tested to *tested.
  bool has_subset(const uint64_t* u, const std::vector<uint32_t>& u_words, uint32_t skip_a,
                  uint32_t skip_b, uint64_t* tested) const;

 private:
  const Patterns& patterns;
  const uint64_t* mask;
  uint32_t bits;
  std::vector<uint32_t> start;  // rays with lowest bit b: order[start[b], start[b + 1])
  RayVector<uint32_t> order;
};

}  // namespace crninv

#endif  // CRNINV_SEMIFLOWS_PATTERNS_H_
