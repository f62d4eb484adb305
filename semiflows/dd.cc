#include "semiflows/dd.h"

#include <memory>
#include <utility>

#include "semiflows/patterns.h"

namespace crninv {

namespace {

// The adjacency test of one step. Below kIndexFrom pairs of a positive and
// a negative ray, a pair is checked against every ray directly. From it on,
// through the lowest-bit index, which costs one pass to build and tests
// few rays when they are combinations of few basis vectors; once its
// queries have tested more than kTreeAfter rays each on average, through a
// pattern tree, whose pruning does not depend on that.
constexpr uint64_t kIndexFrom = 32;
constexpr uint64_t kProbes = 256;     // queries before the index is judged
constexpr uint64_t kTreeAfter = 256;  // rays tested per query

template <typename Int>
class DoubleDescription {
 public:
  DoubleDescription(KernelBasis<Int> basis, uint32_t coordinates, Monitor& monitor);
  // kTooMany once more than limit final rays are known, kTooManyCandidates
  // once more than limit rays are held.
  SemiflowStatus run(uint64_t limit);
  VectorSet<Int> take_rays() { return std::move(rays); }

 private:
  class Adjacency;

  uint32_t ray_count() const { return static_cast<uint32_t>(rays.size()); }
  void add_ray(SparseVector<Int> v);
  void remove_ray(uint32_t r);
  void impose(uint32_t c);
  // The coordinate to impose next among those some ray is negative at.
  uint32_t choose();
  // Imposes c, some ray being negative there; stops past the limit.
  SemiflowStatus step(uint32_t c, uint64_t limit);
  // Writes the union of two rays' masked patterns into the dense u (whose
  // words must be zero) and the words it sets into *set; false, as soon as
  // it is known, when the union is too large for an extreme ray.
  bool union_fits(uint32_t a, uint32_t b, uint64_t* u, std::vector<uint32_t>* set) const;
  // Whether a ray other than a and b has its masked pattern inside u, by a
  // scan of them all.
  bool has_subset(const uint64_t* u, uint32_t a, uint32_t b) const;

  uint32_t coordinates;
  uint32_t words;
  // bit[c]: the pattern bit of coordinate c; owned coordinates take the
  // first ones, so that they fill whole words of the mask.
  std::vector<uint32_t> bit;
  VectorSet<Int> rays;
  Patterns patterns;                                     // per ray: its support, by bit
  std::vector<uint32_t, Accounted<uint32_t>> negatives;  // per ray
  std::vector<uint32_t> positive_at, negative_at;        // rays, per coordinate
  // The coordinates imposed, by bit.
  Words mask;
  uint32_t imposed = 0;  // of the coordinates not owned
  uint32_t owned = 0;    // coordinates, which take bits [0, owned)
  Monitor& monitor;
  std::vector<uint32_t> pending;
  uint64_t final_rays = 0;  // rays with no negative entry
};

// The adjacency test of one step (see kIndexFrom).
template <typename Int>
class DoubleDescription<Int>::Adjacency {
 public:
  Adjacency(const DoubleDescription& dd_, uint64_t pairs) : dd(dd_) {
    if (pairs >= kIndexFrom)
      index = std::make_unique<LowestBitIndex>(dd.patterns, &dd.mask[0], dd.owned);
  }

  // Whether rays a and b, whose union u spans the words in u_words, are
  // adjacent: no other ray lies inside their union.
  bool adjacent(const uint64_t* u, const std::vector<uint32_t>& u_words, uint32_t a, uint32_t b) {
    if (tree) return !tree->has_subset(u, a, b);
    if (!index) return !dd.has_subset(u, a, b);
    bool inside = index->has_subset(u, u_words, a, b, &tested);
    if (++queries == kProbes && tested > kTreeAfter * kProbes) {
      tree = std::make_unique<PatternTree>(dd.patterns, &dd.mask[0], dd.words, &dd.monitor);
    }
    return !inside;
  }

 private:
  const DoubleDescription& dd;
  std::unique_ptr<LowestBitIndex> index;
  std::unique_ptr<PatternTree> tree;
  uint64_t queries = 0, tested = 0;
};

template <typename Int>
DoubleDescription<Int>::DoubleDescription(KernelBasis<Int> basis, uint32_t coordinates_,
                                          Monitor& monitor_)
    : coordinates(coordinates_),
      words((coordinates_ + 63) / 64),
      bit(coordinates_, UINT32_MAX),
      positive_at(coordinates_, 0),
      negative_at(coordinates_, 0),
      mask(words, 0),
      monitor(monitor_) {
  uint32_t next = 0;
  for (uint32_t c : basis.owned) bit[c] = next++;
  owned = next;
  for (uint32_t c = 0; c < coordinates; ++c) {
    if (bit[c] == UINT32_MAX) {
      bit[c] = next++;
      pending.push_back(c);
    } else {
      set_bit(&mask[0], bit[c]);
    }
  }
  for (SparseVector<Int>& v : basis.vectors) add_ray(std::move(v));
}

template <typename Int>
void DoubleDescription<Int>::add_ray(SparseVector<Int> v) {
  std::vector<uint32_t> bits(v.size());
  uint32_t below = 0;
  for (uint32_t k = 0; k < v.size(); ++k) {
    bits[k] = bit[v.index[k]];
    if (sign(v.value[k]) > 0) {
      ++positive_at[v.index[k]];
    } else {
      ++negative_at[v.index[k]];
      ++below;
    }
  }
  if (below == 0) ++final_rays;
  negatives.push_back(below);
  patterns.push_back(pattern_of(std::move(bits)));
  rays.push_back(std::move(v));
}

// The last ray takes the place of ray r.
template <typename Int>
void DoubleDescription<Int>::remove_ray(uint32_t r) {
  const SparseVector<Int>& v = rays[r];
  for (uint32_t k = 0; k < v.size(); ++k) {
    --(sign(v.value[k]) > 0 ? positive_at : negative_at)[v.index[k]];
  }
  uint32_t last = ray_count() - 1;
  if (r != last) {
    rays[r] = std::move(rays[last]);
    negatives[r] = negatives[last];
    patterns[r] = std::move(patterns[last]);
  }
  rays.pop_back();
  negatives.pop_back();
  patterns.pop_back();
}

template <typename Int>
void DoubleDescription<Int>::impose(uint32_t c) {
  set_bit(&mask[0], bit[c]);
  ++imposed;
}

template <typename Int>
uint32_t DoubleDescription<Int>::choose() {
  uint32_t best = UINT32_MAX;
  uint64_t best_cost = 0;
  for (uint32_t c : pending) {
    uint64_t cost = uint64_t{positive_at[c]} * negative_at[c];
    if (best == UINT32_MAX || cost < best_cost ||
        (cost == best_cost && negative_at[c] < negative_at[best])) {
      best = c;
      best_cost = cost;
    }
  }
  return best;
}

template <typename Int>
bool DoubleDescription<Int>::union_fits(uint32_t a, uint32_t b, uint64_t* u,
                                        std::vector<uint32_t>* set) const {
  const Pattern& pa = patterns[a];
  const Pattern& pb = patterns[b];
  uint32_t size = 0, most = imposed + 2;
  size_t i = 0, j = 0;
  while (i < pa.size() || j < pb.size()) {
    uint32_t wa = i < pa.size() ? pa[i].word : UINT32_MAX;
    uint32_t wb = j < pb.size() ? pb[j].word : UINT32_MAX;
    uint32_t w = wa < wb ? wa : wb;
    uint64_t bits = ((wa == w ? pa[i++].bits : 0) | (wb == w ? pb[j++].bits : 0)) & mask[w];
    if (bits == 0) continue;
    u[w] = bits;
    set->push_back(w);
    size += bit_count(bits);
    if (size > most) return false;
  }
  return true;
}

template <typename Int>
bool DoubleDescription<Int>::has_subset(const uint64_t* u, uint32_t a, uint32_t b) const {
  for (uint32_t r = 0; r < ray_count(); ++r) {
    if (r != a && r != b && inside(patterns[r], &mask[0], u)) return true;
  }
  return false;
}

template <typename Int>
SemiflowStatus DoubleDescription<Int>::step(uint32_t c, uint64_t limit) {
  std::vector<uint32_t> up, down;
  for (uint32_t r = 0; r < ray_count(); ++r) {
    monitor.tick();
    const Int* x = rays[r].find(c);
    if (x != nullptr) (sign(*x) > 0 ? up : down).push_back(r);
  }
  // Every pair whose union passes the size filter and the adjacency test
  // gives a new ray, zero at c: a positive combination of the two.
  std::vector<uint64_t> u(words, 0);
  std::vector<uint32_t> set;
  Adjacency adjacency(*this, uint64_t{up.size()} * down.size());
  VectorSet<Int> made;
  uint64_t found = final_rays;
  for (uint32_t a : up) {
    // A long step still tells that it moves, once per positive ray.
    Progress& progress = monitor.state();
    progress.step = imposed;
    progress.steps = coordinates - owned;
    progress.found = ray_count() + made.size();
    for (uint32_t b : down) {
      monitor.tick();
      for (uint32_t w : set) u[w] = 0;
      set.clear();
      if (!union_fits(a, b, u.data(), &set)) continue;
      // The adjacency test and the combination may take far longer than the
      // pairs that fail the size filter.
      monitor.heavy_tick();
      if (!adjacency.adjacent(u.data(), set, a, b)) continue;
      // Both multipliers are positive: va > 0 > vb.
      Int ca, cb;
      cancelling_multipliers(*rays[a].find(c), *rays[b].find(c), &ca, &cb);
      SparseVector<Int> v;
      combine(ca, rays[a], cb, rays[b], &v);
      make_primitive(&v, false);
      bool final = true;
      for (const Int& x : v.value) final = final && sign(x) > 0;
      if (final && ++found > limit) return SemiflowStatus::kTooMany;
      made.push_back(std::move(v));
      // The rays in down go at the end of the step: what stays held counts.
      if (ray_count() - down.size() + made.size() > limit) {
        return SemiflowStatus::kTooManyCandidates;
      }
    }
  }
  // Dropping from the end keeps the lower indices in down valid.
  for (size_t k = down.size(); k-- > 0;) {
    monitor.heavy_tick();
    remove_ray(down[k]);
  }
  for (SparseVector<Int>& v : made) {
    monitor.heavy_tick();
    add_ray(std::move(v));
  }
  impose(c);
  return SemiflowStatus::kDone;
}

template <typename Int>
SemiflowStatus DoubleDescription<Int>::run(uint64_t limit) {
  if (final_rays > limit) return SemiflowStatus::kTooMany;
  if (ray_count() > limit) return SemiflowStatus::kTooManyCandidates;
  while (!pending.empty()) {
    // Constraints that every ray meets cost nothing.
    size_t kept = 0;
    for (uint32_t c : pending) {
      if (negative_at[c] == 0) {
        impose(c);
      } else {
        pending[kept++] = c;
      }
    }
    pending.resize(kept);
    if (pending.empty()) break;
    uint32_t c = choose();
    pending.erase(std::find(pending.begin(), pending.end(), c));
    SemiflowStatus status = step(c, limit);
    if (status != SemiflowStatus::kDone) return status;
  }
  return SemiflowStatus::kDone;
}

}  // namespace

template <typename Int>
SemiflowStatus extreme_rays(KernelBasis<Int> basis, uint32_t coordinates, uint64_t limit,
                            VectorSet<Int>* rays, Monitor& monitor) {
  DoubleDescription<Int> dd(std::move(basis), coordinates, monitor);
  SemiflowStatus status = dd.run(limit);
  if (status == SemiflowStatus::kDone) *rays = dd.take_rays();
  return status;
}

template SemiflowStatus extreme_rays(KernelBasis<int64_t>, uint32_t, uint64_t, VectorSet<int64_t>*,
                                     Monitor&);
template SemiflowStatus extreme_rays(KernelBasis<mpz_class>, uint32_t, uint64_t,
                                     VectorSet<mpz_class>*, Monitor&);

}  // namespace crninv
