// Minimal semi-positive invariants (semiflows) of an integer matrix.
//
// For a matrix A of m rows and n columns, a semiflow is a vector y of m
// non-negative integers, not all zero, with y^T A = 0. It is minimal when
// no other semiflow has a support (its set of nonzero entries) strictly
// inside its own. Each minimal support carries exactly one primitive
// semiflow (the kernel restricted to a minimal support has dimension one),
// and the minimal semiflows are the extreme rays of the cone
// {y >= 0 : y^T A = 0}: every semiflow is a non-negative combination of
// them. Their number can grow exponentially with the size of A.
//
// With A the stoichiometric matrix N (rows species or places, columns
// reactions or transitions) they are the P-semiflows; with A = N^T the
// T-semiflows.
#ifndef CRNINV_SEMIFLOWS_SEMIFLOWS_H_
#define CRNINV_SEMIFLOWS_SEMIFLOWS_H_

#include <gmpxx.h>

#include <cstdint>
#include <vector>

#include "base/monitor.h"
#include "base/storage.h"
#include "crninv/sparse_matrix.h"

namespace crninv {

// A minimal semiflow: its support in increasing order and the coefficient
// of each of those rows, positive and with no common factor. Nearly every
// coefficient met in practice fits 64 bits, and a GMP integer per entry
// would cost an allocation each: the coefficients are held as 64-bit values
// when they all fit, else all of them, and only then, in wide.
struct Semiflow {
  AccountedVector<uint32_t> support;
  AccountedVector<int64_t> coefficients;  // empty when wide is not
  std::vector<mpz_class> wide;
};

enum class SemiflowStatus {
  kDone,     // every minimal semiflow is in the result
  kTooMany,  // there are more than max_semiflows: the result is empty
  // The work on the way held more than max_semiflows candidates at once; the
  // answer itself may be smaller. The result is empty.
  kTooManyCandidates,
};

// Every minimal semiflow of a, into *out (replacing what it held), in
// canonical order: by support, compared as ascending lists of row indices,
// lexicographically (a list before its own extensions). A minimal support
// determines its semiflow, so the order is total and depends on the matrix
// alone, not on how the set was found.
//
// max_semiflows caps both the answer and the work. The computation stops
// with kTooMany as soon as it has found more than that many minimal
// semiflows: it counts only vectors already known to be minimal semiflows,
// so this status proves that the answer is larger. The set can explode on
// the way while few semiflows are known yet (a candidate is a semiflow only
// once every coordinate is non-negative): it stops with kTooManyCandidates
// when a step would leave more than max_semiflows candidates held (the rays
// a step replaces count until it ends, so a cap equal to the answer lets the
// run complete). Without a cap (UINT64_MAX) the intermediate sets are
// bounded by the memory account of base/storage.h alone.
//
// The arithmetic is exact: 64-bit where that suffices, GMP integers for a
// part of the matrix where a 64-bit operation would overflow.
SemiflowStatus minimal_semiflows(const SparseMatrix& a, uint64_t max_semiflows,
                                 std::vector<Semiflow>* out, Monitor& monitor);

}  // namespace crninv

#endif  // CRNINV_SEMIFLOWS_SEMIFLOWS_H_
