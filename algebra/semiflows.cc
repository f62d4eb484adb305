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

// The coefficients of v into s, 64-bit when they all fit.
void set_coefficients(const SparseVector<int64_t>& v, Semiflow* s) {
  s->coefficients.assign(v.value.begin(), v.value.end());
}

void set_coefficients(const SparseVector<mpz_class>& v, Semiflow* s) {
  bool fit = true;
  for (const mpz_class& x : v.value) fit = fit && x.fits_slong_p();
  if (!fit) {
    s->wide.assign(v.value.begin(), v.value.end());
    return;
  }
  s->coefficients.reserve(v.size());
  for (const mpz_class& x : v.value) s->coefficients.push_back(x.get_si());
}

// Appends the minimal semiflows of part to *out, or stops past the limit
// (see extreme_rays).
template <typename Int>
SemiflowStatus part_semiflows(const SemiflowPart& part, uint64_t limit,
                              std::vector<Semiflow>* out) {
  VectorSet<Int> rays;
  SemiflowStatus status =
      extreme_rays(left_kernel<Int>(part.matrix), part.matrix.rows, limit, &rays);
  if (status != SemiflowStatus::kDone) return status;
  for (const SparseVector<Int>& v : rays) {
    Semiflow s;
    // Part rows ascend, so the support stays in increasing order.
    s.support.reserve(v.size());
    for (uint32_t i : v.index) s.support.push_back(part.rows[i]);
    set_coefficients(v, &s);
    out->push_back(std::move(s));
  }
  return SemiflowStatus::kDone;
}

}  // namespace

std::string Semiflow::coefficient_text(size_t k) const {
  return wide.empty() ? std::to_string(coefficients[k]) : wide[k].get_str();
}

SemiflowStatus minimal_semiflows(const SparseMatrix& a, uint64_t max_semiflows,
                                 std::vector<Semiflow>* out) {
  out->clear();
  PrunedMatrix pruned = prune_and_split(a);
  if (pruned.zero_rows.size() > max_semiflows) return SemiflowStatus::kTooMany;
  for (uint32_t i : pruned.zero_rows) {
    Semiflow s;
    s.support.push_back(i);
    s.coefficients.push_back(1);
    out->push_back(std::move(s));
  }
  for (const SemiflowPart& part : pruned.parts) {
    uint64_t limit = max_semiflows - out->size();
    size_t before = out->size();
    SemiflowStatus status;
    try {
      status = part_semiflows<int64_t>(part, limit, out);
    } catch (const Overflow&) {
      out->resize(before);
      status = part_semiflows<mpz_class>(part, limit, out);
    }
    if (status != SemiflowStatus::kDone) {
      out->clear();
      return status;
    }
  }
  std::sort(out->begin(), out->end(),
            [](const Semiflow& x, const Semiflow& y) { return x.support < y.support; });
  return SemiflowStatus::kDone;
}
