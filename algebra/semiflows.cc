// Minimal semiflows: the reductions and the split of semiflow_prune.h, then
// on each part a kernel basis (semiflow_kernel.h) and the double
// description method (semiflow_dd.h), first in 64-bit arithmetic and, for a
// part where that would overflow, again in GMP integers.
#include "algebra/semiflows.h"

#include <algorithm>

#include "algebra/semiflow_dd.h"
#include "algebra/semiflow_kernel.h"
#include "algebra/semiflow_prune.h"

namespace {

mpz_class as_mpz(int64_t x) {
  return mpz_class(static_cast<long>(x));
}
const mpz_class& as_mpz(const mpz_class& x) {
  return x;
}

// Appends the minimal semiflows of part to *out; false once there are more
// than limit.
template <typename Int>
bool part_semiflows(const SemiflowPart& part, uint64_t limit, std::vector<Semiflow>* out) {
  VectorSet<Int> rays;
  if (!extreme_rays(left_kernel<Int>(part.matrix), part.matrix.rows, limit, &rays)) return false;
  for (const SparseVector<Int>& v : rays) {
    Semiflow s;
    s.support.reserve(v.size());
    s.coefficients.reserve(v.size());
    // Part rows ascend, so the support stays in increasing order.
    for (uint32_t k = 0; k < v.size(); ++k) {
      s.support.push_back(part.rows[v.index[k]]);
      s.coefficients.push_back(as_mpz(v.value[k]));
    }
    out->push_back(std::move(s));
  }
  return true;
}

}  // namespace

SemiflowStatus minimal_semiflows(const SparseMatrix& a, uint64_t max_semiflows,
                                 std::vector<Semiflow>* out) {
  out->clear();
  PrunedMatrix pruned = prune_and_split(a);
  if (pruned.zero_rows.size() > max_semiflows) return SemiflowStatus::kTooMany;
  for (uint32_t i : pruned.zero_rows) out->push_back({{i}, {mpz_class(1)}});
  for (const SemiflowPart& part : pruned.parts) {
    uint64_t limit = max_semiflows - out->size();
    size_t before = out->size();
    bool within;
    try {
      within = part_semiflows<int64_t>(part, limit, out);
    } catch (const Overflow&) {
      out->resize(before);
      within = part_semiflows<mpz_class>(part, limit, out);
    }
    if (!within) {
      out->clear();
      return SemiflowStatus::kTooMany;
    }
  }
  std::sort(out->begin(), out->end(),
            [](const Semiflow& x, const Semiflow& y) { return x.support < y.support; });
  return SemiflowStatus::kDone;
}
