#include "algebra/semiflow_patterns.h"

#include <algorithm>

PatternTree::PatternTree(const uint64_t* patterns_, uint32_t words_, uint32_t count,
                         const uint64_t* mask_, const std::vector<uint32_t>& active_)
    : patterns(patterns_), words(words_), mask(mask_), active(active_), order(count) {
  for (uint32_t r = 0; r < count; ++r) order[r] = r;
  tally.assign(active.size() * 64, 0);
  if (count > 0) build(0, count, 0);
}

uint32_t PatternTree::build(uint32_t begin, uint32_t end, uint32_t depth) {
  uint32_t id = static_cast<uint32_t>(nodes.size());
  nodes.push_back({begin, end, UINT32_MAX, 0, 0, 0});
  size_t slots = active.size();
  common.resize(common.size() + slots);
  uint64_t* c = &common[id * slots];
  for (size_t k = 0; k < slots; ++k) {
    uint64_t all = ~uint64_t{0};
    for (uint32_t i = begin; i < end && all != 0; ++i) all &= word(order[i], k);
    c[k] = all;
  }
  Node split = nodes[id];
  if (end - begin <= kLeaf || depth >= kMaxDepth || !split_bit(begin, end, c, &split)) return id;
  uint32_t* mid = std::partition(&order[begin], &order[0] + end, [&](uint32_t r) {
    return (word(r, split.slot) & split.bit) == 0;
  });
  uint32_t m = static_cast<uint32_t>(mid - &order[0]);
  split.zero = build(begin, m, depth + 1);
  split.one = build(m, end, depth + 1);
  nodes[id] = split;
  return id;
}

bool PatternTree::split_bit(uint32_t begin, uint32_t end, const uint64_t* c, Node* node) {
  constexpr uint32_t kSample = 16;
  uint32_t n = end - begin, step = n > kSample ? n / kSample : 1, sampled = 0;
  std::vector<uint32_t> touched;
  for (uint32_t i = begin; i < end && sampled < kSample; i += step, ++sampled) {
    for (size_t k = 0; k < active.size(); ++k) {
      for (uint64_t bits = word(order[i], k) & ~c[k]; bits != 0; bits &= bits - 1) {
        uint32_t b = static_cast<uint32_t>(k * 64 + __builtin_ctzll(bits));
        if (tally[b]++ == 0) touched.push_back(b);
      }
    }
  }
  uint32_t best = UINT32_MAX, best_score = 0;
  for (uint32_t b : touched) {
    uint32_t score = std::min(tally[b], sampled - tally[b]);
    if (best == UINT32_MAX || score > best_score) best = b, best_score = score;
    tally[b] = 0;
  }
  if (best == UINT32_MAX) return false;
  node->slot = best / 64;
  node->bit = uint64_t{1} << (best % 64);
  // The sample may miss the rays that differ; a split that leaves one side
  // empty only costs a level.
  return true;
}

bool PatternTree::has_subset(const uint64_t* u, uint32_t skip_a, uint32_t skip_b) const {
  if (nodes.empty()) return false;
  size_t slots = active.size();
  uint32_t stack[2 * kMaxDepth + 2];
  uint32_t top = 0;
  stack[top++] = 0;
  while (top > 0) {
    const Node& node = nodes[stack[--top]];
    const uint64_t* c = &common[(&node - &nodes[0]) * slots];
    bool inside = true;
    for (size_t k = 0; k < slots && inside; ++k) inside = (c[k] & ~u[k]) == 0;
    if (!inside) continue;
    if (node.slot == UINT32_MAX) {
      for (uint32_t i = node.begin; i < node.end; ++i) {
        uint32_t r = order[i];
        if (r == skip_a || r == skip_b) continue;
        bool subset = true;
        for (size_t k = 0; k < slots && subset; ++k) subset = (word(r, k) & ~u[k]) == 0;
        if (subset) return true;
      }
      continue;
    }
    stack[top++] = node.zero;
    if (u[node.slot] & node.bit) stack[top++] = node.one;
  }
  return false;
}
