// Minimal semiflows: the reductions and the split of prune.h, then on each
// part a kernel basis (kernel.h) and the double description method (dd.h),
// first in 64-bit arithmetic and, for a part where that would overflow,
// again in GMP integers.
#include "semiflows/semiflows.h"

#include <algorithm>

#include "base/widen.h"
#include "semiflows/dd.h"
#include "semiflows/kernel.h"
#include "semiflows/prune.h"

namespace crninv {

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

// Appends to *out the semiflow v of part, on its local rows, and one copy
// for each choice of the rows left out as multiples of those in its support
// (semiflow_prune.h); kTooMany once *out would pass max entries.
template <typename Int>
SemiflowStatus emit(const SemiflowPart& part, const SparseVector<Int>& v, uint64_t max,
                    std::vector<Semiflow>* out) {
  std::vector<uint32_t> branching;  // entries whose row has copies
  for (uint32_t k = 0; k < v.size(); ++k) {
    if (!part.copies[v.index[k]].empty()) branching.push_back(k);
  }
  // choice[b]: 0 for the row itself, c for its copy c - 1.
  std::vector<uint32_t> choice(branching.size(), 0);
  for (;;) {
    if (out->size() >= max) return SemiflowStatus::kTooMany;
    SparseVector<Int> w = v;
    for (uint32_t k = 0; k < v.size(); ++k) w.index[k] = part.rows[v.index[k]];
    for (size_t b = 0; b < branching.size(); ++b) {
      if (choice[b] == 0) continue;
      uint32_t k = branching[b];
      const SemiflowPart::Copy& copy = part.copies[v.index[k]][choice[b] - 1];
      // y_copy = y_row * factor_row / factor_copy, the others scaled to keep
      // every entry whole.
      using X = Exact<Int>;
      Int num = fitted(X::mul(w.value[k], X::from(part.factor[v.index[k]])));
      Int den = X::from(copy.factor);
      Int g = X::gcd(X::abs(num), den);
      num = X::divide(num, g);
      den = X::divide(den, g);
      if (!X::is_one(den)) {
        for (Int& x : w.value) x = fitted(X::mul(x, den));
      }
      w.value[k] = num;
      w.index[k] = copy.row;
    }
    if (!branching.empty()) {
      make_primitive(&w, false);
      sort_by_index(&w);
    }
    Semiflow s;
    s.support.assign(w.index.begin(), w.index.end());
    set_coefficients(w, &s);
    out->push_back(std::move(s));
    size_t b = 0;
    while (b < choice.size() && ++choice[b] > part.copies[v.index[branching[b]]].size()) {
      choice[b++] = 0;
    }
    if (b == choice.size()) return SemiflowStatus::kDone;
  }
}

// Appends the minimal semiflows of part to *out, or stops past max entries
// in *out (see extreme_rays).
template <typename Int>
SemiflowStatus part_semiflows(const SemiflowPart& part, uint64_t max, std::vector<Semiflow>* out,
                              Monitor& monitor) {
  VectorSet<Int> rays;
  SemiflowStatus status = extreme_rays(left_kernel<Int>(part.matrix, monitor), part.matrix.rows,
                                       max - out->size(), &rays, monitor);
  for (size_t k = 0; k < rays.size() && status == SemiflowStatus::kDone; ++k) {
    status = emit(part, rays[k], max, out);
  }
  return status;
}

}  // namespace

SemiflowStatus minimal_semiflows(const SparseMatrix& a, uint64_t max_semiflows,
                                 std::vector<Semiflow>* out, Monitor& monitor) {
  monitor.state().stage = Progress::kSemiflows;
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
    size_t before = out->size();
    SemiflowStatus status =
        widen([&] { return part_semiflows<int64_t>(part, max_semiflows, out, monitor); },
              [&] {
                out->resize(before);
                return part_semiflows<mpz_class>(part, max_semiflows, out, monitor);
              });
    if (status != SemiflowStatus::kDone) {
      out->clear();
      return status;
    }
  }
  std::sort(out->begin(), out->end(),
            [](const Semiflow& x, const Semiflow& y) { return x.support < y.support; });
  return SemiflowStatus::kDone;
}

}  // namespace crninv
