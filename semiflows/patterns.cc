#include "semiflows/patterns.h"

#include <algorithm>

namespace crninv {

Pattern pattern_of(std::vector<uint32_t> bits) {
  std::sort(bits.begin(), bits.end());
  Pattern p;
  for (uint32_t b : bits) {
    if (p.empty() || p.back().word != b / 64) p.push_back({b / 64, 0});
    p.back().bits |= uint64_t{1} << (b % 64);
  }
  return p;
}

PatternTree::PatternTree(const Patterns& patterns_, const uint64_t* mask_, uint32_t words,
                         Monitor* monitor_)
    : patterns(patterns_),
      mask(mask_),
      monitor(monitor_),
      order(patterns_.size()),
      tally(uint64_t{words} * 64, 0),
      dense(words, 0) {
  for (uint32_t r = 0; r < order.size(); ++r) order[r] = r;
  if (!order.empty()) build(0, static_cast<uint32_t>(order.size()), 0);
}

void PatternTree::append_common(uint32_t begin, uint32_t end) {
  size_t start = common.size();
  for (const PatternWord& w : patterns[order[begin]]) {
    uint64_t bits = w.bits & mask[w.word];
    if (bits != 0) common.push_back({w.word, bits});
  }
  for (uint32_t i = begin + 1; i < end && common.size() > start; ++i) {
    // Intersect common[start..] with the ray's words, in place.
    const Pattern& p = patterns[order[i]];
    size_t kept = start, k = 0;
    for (size_t c = start; c < common.size(); ++c) {
      while (k < p.size() && p[k].word < common[c].word) ++k;
      if (k == p.size()) break;
      if (p[k].word != common[c].word) continue;
      uint64_t bits = common[c].bits & p[k].bits;
      if (bits != 0) common[kept++] = {common[c].word, bits};
    }
    common.resize(kept);
  }
}

bool PatternTree::ray_has(uint32_t r, uint32_t word, uint64_t bit) const {
  const Pattern& p = patterns[r];
  auto it = std::lower_bound(p.begin(), p.end(), word,
                             [](const PatternWord& w, uint32_t x) { return w.word < x; });
  return it != p.end() && it->word == word && (it->bits & bit) != 0;
}

uint32_t PatternTree::build(uint32_t begin, uint32_t end, uint32_t depth) {
  if (monitor != nullptr) monitor->heavy_tick();
  uint32_t id = static_cast<uint32_t>(nodes.size());
  Node node = {begin, end, static_cast<uint32_t>(common.size()), 0, UINT32_MAX, 0, 0, 0};
  append_common(begin, end);
  node.common_end = static_cast<uint32_t>(common.size());
  nodes.push_back(node);
  uint32_t word;
  uint64_t bit;
  if (end - begin <= kLeaf || depth >= kMaxDepth || !split_bit(begin, end, node, &word, &bit)) {
    return id;
  }
  uint32_t* mid = std::partition(&order[begin], &order[0] + end,
                                 [&](uint32_t r) { return !ray_has(r, word, bit); });
  uint32_t m = static_cast<uint32_t>(mid - &order[0]);
  node.word = word;
  node.bit = bit;
  node.zero = build(begin, m, depth + 1);
  node.one = build(m, end, depth + 1);
  nodes[id] = node;
  return id;
}

bool PatternTree::split_bit(uint32_t begin, uint32_t end, const Node& node, uint32_t* word,
                            uint64_t* bit) {
  constexpr uint32_t kSample = 16;
  for (uint32_t c = node.common_begin; c < node.common_end; ++c) {
    dense[common[c].word] = common[c].bits;
  }
  uint32_t n = end - begin, step = n > kSample ? n / kSample : 1, sampled = 0;
  std::vector<uint32_t> touched;
  for (uint32_t i = begin; i < end && sampled < kSample; i += step, ++sampled) {
    for (const PatternWord& w : patterns[order[i]]) {
      for (uint64_t bits = w.bits & mask[w.word] & ~dense[w.word]; bits != 0; bits &= bits - 1) {
        uint32_t b = w.word * 64 + static_cast<uint32_t>(__builtin_ctzll(bits));
        if (tally[b]++ == 0) touched.push_back(b);
      }
    }
  }
  for (uint32_t c = node.common_begin; c < node.common_end; ++c) dense[common[c].word] = 0;
  uint32_t best = UINT32_MAX, best_score = 0;
  for (uint32_t b : touched) {
    uint32_t score = std::min(tally[b], sampled - tally[b]);
    if (best == UINT32_MAX || score > best_score) best = b, best_score = score;
    tally[b] = 0;
  }
  if (best == UINT32_MAX) return false;
  // The sample may miss the rays that differ; a split that leaves one side
  // empty only costs a level.
  *word = best / 64;
  *bit = uint64_t{1} << (best % 64);
  return true;
}

bool PatternTree::has_subset(const uint64_t* u, uint32_t skip_a, uint32_t skip_b) const {
  if (nodes.empty()) return false;
  uint32_t stack[kMaxDepth + 2];
  uint32_t top = 0;
  stack[top++] = 0;
  while (top > 0) {
    const Node& node = nodes[stack[--top]];
    bool within = true;
    for (uint32_t c = node.common_begin; c < node.common_end && within; ++c) {
      within = (common[c].bits & ~u[common[c].word]) == 0;
    }
    if (!within) continue;
    if (node.word == UINT32_MAX) {
      for (uint32_t i = node.begin; i < node.end; ++i) {
        uint32_t r = order[i];
        if (r != skip_a && r != skip_b && inside(patterns[r], mask, u)) return true;
      }
      continue;
    }
    stack[top++] = node.zero;
    if (u[node.word] & node.bit) stack[top++] = node.one;
  }
  return false;
}

LowestBitIndex::LowestBitIndex(const Patterns& patterns_, const uint64_t* mask_, uint32_t bits_)
    : patterns(patterns_), mask(mask_), bits(bits_), start(bits_ + 2, 0), order(patterns_.size()) {
  auto lowest = [&](uint32_t r) {
    const PatternWord& w = patterns[r][0];
    return w.word * 64 + static_cast<uint32_t>(__builtin_ctzll(w.bits));
  };
  // A counting sort of the rays by lowest bit.
  for (uint32_t r = 0; r < patterns.size(); ++r) ++start[lowest(r) + 2];
  for (uint32_t b = 2; b < start.size(); ++b) start[b] += start[b - 1];
  for (uint32_t r = 0; r < patterns.size(); ++r) order[start[lowest(r) + 1]++] = r;
}

bool LowestBitIndex::has_subset(const uint64_t* u, const std::vector<uint32_t>& u_words,
                                uint32_t skip_a, uint32_t skip_b, uint64_t* tested) const {
  for (uint32_t w : u_words) {
    if (w * 64 >= bits) continue;
    for (uint64_t x = u[w]; x != 0; x &= x - 1) {
      uint32_t b = w * 64 + static_cast<uint32_t>(__builtin_ctzll(x));
      if (b >= bits) break;
      *tested += start[b + 1] - start[b];
      for (uint32_t i = start[b]; i < start[b + 1]; ++i) {
        uint32_t r = order[i];
        if (r != skip_a && r != skip_b && inside(patterns[r], mask, u)) return true;
      }
    }
  }
  return false;
}

}  // namespace crninv
