#include "algebra/semiflow_dd.h"

#include <memory>
#include <utility>

#include "algebra/semiflow_patterns.h"

namespace {

// Below this many pairs of a positive and a negative ray in a step, a pair
// is checked against every ray directly; from it on, through a pattern tree
// built for the step.
constexpr size_t kTreeFrom = 32;

template <typename Int>
class DoubleDescription {
 public:
  DoubleDescription(KernelBasis<Int> basis, uint32_t coordinates);
  // kTooMany once more than limit final rays are known, kTooManyCandidates
  // once more than limit rays are held.
  SemiflowStatus run(uint64_t limit);
  VectorSet<Int> take_rays() { return std::move(rays); }

 private:
  uint32_t ray_count() const { return static_cast<uint32_t>(rays.size()); }
  const uint64_t* pattern(uint32_t r) const { return &patterns[uint64_t{r} * words]; }
  void add_ray(SparseVector<Int> v);
  void remove_ray(uint32_t r);
  void impose(uint32_t c);
  // The coordinate to impose next among those some ray is negative at.
  uint32_t choose();
  // Imposes c, some ray being negative there; stops past the limit.
  SemiflowStatus step(uint32_t c, uint64_t limit);
  // The union of two rays' masked patterns over the active words, and
  // whether its size allows an extreme ray.
  bool union_fits(uint32_t a, uint32_t b, uint64_t* u) const;
  // Whether a ray other than a and b has its masked pattern inside u, by a
  // scan of them all.
  bool has_subset(const uint64_t* u, uint32_t a, uint32_t b) const;

  uint32_t coordinates;
  uint32_t words;
  // bit[c]: the pattern bit of coordinate c; owned coordinates take the
  // first ones, so that they fill whole words of the mask.
  std::vector<uint32_t> bit;
  VectorSet<Int> rays;
  Words patterns;                                        // words per ray: the support, by bit
  std::vector<uint32_t, Accounted<uint32_t>> negatives;  // per ray
  std::vector<uint32_t> positive_at, negative_at;        // rays, per coordinate
  // The coordinates imposed, by bit, and the words where it has any.
  Words mask;
  std::vector<uint32_t> active;
  uint32_t imposed = 0;  // of the coordinates not owned
  std::vector<uint32_t> pending;
  uint64_t final_rays = 0;  // rays with no negative entry
};

template <typename Int>
DoubleDescription<Int>::DoubleDescription(KernelBasis<Int> basis, uint32_t coordinates_)
    : coordinates(coordinates_),
      words((coordinates_ + 63) / 64),
      bit(coordinates_, UINT32_MAX),
      positive_at(coordinates_, 0),
      negative_at(coordinates_, 0),
      mask(words, 0) {
  uint32_t next = 0;
  for (uint32_t c : basis.owned) bit[c] = next++;
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
  patterns.resize(patterns.size() + words, 0);
  uint64_t* p = &patterns[patterns.size() - words];
  uint32_t below = 0;
  for (uint32_t k = 0; k < v.size(); ++k) {
    set_bit(p, bit[v.index[k]]);
    if (sign(v.value[k]) > 0) {
      ++positive_at[v.index[k]];
    } else {
      ++negative_at[v.index[k]];
      ++below;
    }
  }
  if (below == 0) ++final_rays;
  negatives.push_back(below);
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
    std::copy(pattern(last), pattern(last) + words, &patterns[uint64_t{r} * words]);
  }
  rays.pop_back();
  negatives.pop_back();
  patterns.resize(patterns.size() - words);
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
bool DoubleDescription<Int>::union_fits(uint32_t a, uint32_t b, uint64_t* u) const {
  const uint64_t* pa = pattern(a);
  const uint64_t* pb = pattern(b);
  uint32_t size = 0, most = imposed + 2;
  for (size_t k = 0; k < active.size(); ++k) {
    uint32_t w = active[k];
    u[k] = (pa[w] | pb[w]) & mask[w];
    size += bit_count(u[k]);
    if (size > most) return false;
  }
  return true;
}

template <typename Int>
bool DoubleDescription<Int>::has_subset(const uint64_t* u, uint32_t a, uint32_t b) const {
  for (uint32_t r = 0; r < ray_count(); ++r) {
    if (r == a || r == b) continue;
    bool inside = true;
    for (size_t k = 0; k < active.size() && inside; ++k) {
      inside = (pattern(r)[active[k]] & mask[active[k]] & ~u[k]) == 0;
    }
    if (inside) return true;
  }
  return false;
}

template <typename Int>
SemiflowStatus DoubleDescription<Int>::step(uint32_t c, uint64_t limit) {
  std::vector<uint32_t> up, down;
  for (uint32_t r = 0; r < ray_count(); ++r) {
    if (!has_bit(pattern(r), bit[c])) continue;
    (sign(*rays[r].find(c)) > 0 ? up : down).push_back(r);
  }
  active.clear();
  for (uint32_t w = 0; w < words; ++w) {
    if (mask[w] != 0) active.push_back(w);
  }
  // Every pair whose union passes the size filter and the adjacency test
  // gives a new ray, zero at c: a positive combination of the two.
  size_t slots = active.size();
  std::vector<uint64_t> u(slots);
  std::unique_ptr<PatternTree> tree;
  if (uint64_t{up.size()} * down.size() >= kTreeFrom) {
    tree = std::make_unique<PatternTree>(&patterns[0], words, ray_count(), &mask[0], active);
  }
  VectorSet<Int> made;
  uint64_t found = final_rays;
  for (uint32_t a : up) {
    for (uint32_t b : down) {
      if (!union_fits(a, b, u.data())) continue;
      if (tree ? tree->has_subset(u.data(), a, b) : has_subset(u.data(), a, b)) continue;
      const Int& va = *rays[a].find(c);
      const Int& vb = *rays[b].find(c);
      Int g = gcd_with(gcd_with(Int(0), va), vb);
      SparseVector<Int> v;
      combine(Int(-(vb / g)), rays[a], Int(va / g), rays[b], &v);
      bool final = true;
      for (const Int& x : v.value) final = final && sign(x) > 0;
      if (final && ++found > limit) return SemiflowStatus::kTooMany;
      made.push_back(std::move(v));
      if (ray_count() + made.size() > limit) return SemiflowStatus::kTooManyCandidates;
    }
  }
  // Dropping from the end keeps the lower indices in down valid.
  for (size_t k = down.size(); k-- > 0;) remove_ray(down[k]);
  for (SparseVector<Int>& v : made) add_ray(std::move(v));
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
                            VectorSet<Int>* rays) {
  DoubleDescription<Int> dd(std::move(basis), coordinates);
  SemiflowStatus status = dd.run(limit);
  if (status == SemiflowStatus::kDone) *rays = dd.take_rays();
  return status;
}

template SemiflowStatus extreme_rays(KernelBasis<int64_t>, uint32_t, uint64_t, VectorSet<int64_t>*);
template SemiflowStatus extreme_rays(KernelBasis<mpz_class>, uint32_t, uint64_t,
                                     VectorSet<mpz_class>*);
