// The double description method (Motzkin et al. 1953; Fukuda & Prodon 1996)
// on the cone {y >= 0 : y in the span of a kernel basis}.
//
// It starts from the basis vectors, the extreme rays of the cone where only
// the owned coordinates must be non-negative (semiflow_kernel.h), and
// imposes y_c >= 0 for the other coordinates c one at a time. Imposing c
// keeps the rays with y_c >= 0, drops those with y_c < 0, and adds, for each
// adjacent pair of a positive and a negative ray, the combination that is
// zero at c. Pairs are filtered first by size: an extreme ray of a cone of
// dimension d cut by d + k constraints is nonzero on at most k + 1 of them,
// so a combination whose support on the imposed coordinates exceeds k + 2
// cannot be extreme once c is imposed; then by the combinatorial adjacency
// test (semiflow_patterns.h).
//
// The next coordinate is the one that fewest pairs straddle: constraints
// that no ray violates first (they cost nothing), then the smallest product
// of positive and negative rays, which keeps the intermediate sets small
// (the ordering heuristics that Terzer & Stelling 2008 and the Petri-net
// tools rely on).
#ifndef CRNINV_SEMIFLOWS_DD_H_
#define CRNINV_SEMIFLOWS_DD_H_

#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "semiflows/kernel.h"

namespace crninv {

// The extreme rays of {y >= 0 : y = sum of z_k basis.vectors[k]} over
// coordinates [0, coordinates), each primitive, into *rays. Stops, with
// *rays unspecified, as soon as more than limit of them are known
// (kTooMany: a ray with no negative entry stays extreme until the end, so
// that count never passes the answer), or when a step would leave more
// than limit rays (kTooManyCandidates). Int = int64_t throws WidthExceeded when a
// value would not fit.
template <typename Int>
SemiflowStatus extreme_rays(KernelBasis<Int> basis, uint32_t coordinates, uint64_t limit,
                            VectorSet<Int>* rays, Monitor& monitor);

extern template SemiflowStatus extreme_rays(KernelBasis<int64_t>, uint32_t, uint64_t,
                                            VectorSet<int64_t>*, Monitor&);
extern template SemiflowStatus extreme_rays(KernelBasis<mpz_class>, uint32_t, uint64_t,
                                            VectorSet<mpz_class>*, Monitor&);

}  // namespace crninv

#endif  // CRNINV_SEMIFLOWS_DD_H_
