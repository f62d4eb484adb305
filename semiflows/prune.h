// Reductions before the semiflow computation proper, and the split of the
// matrix into independent parts.
//
//  - A zero row i is a minimal semiflow on its own (the unit vector e_i) and
//    lies in no other minimal one: any semiflow with y_i > 0 loses nothing
//    by dropping i.
//  - A column whose nonzero entries all have one sign forces y_i = 0 on each
//    of their rows, since sum_i y_i a_ij = 0 with y >= 0: those rows are in
//    no semiflow, and removing them may leave other columns with one sign
//    (the single-sign rule of the Petri-net literature, e.g. Colom & Silva
//    1991).
//  - A row that is a positive multiple of another, g_k a_k = g_i a_i with
//    a the common primitive row, is interchangeable with it: a minimal
//    semiflow holds at most one of them (moving the weight of one onto the
//    other keeps it a semiflow and shrinks its support), and trading one for
//    the other, at weight y_k = y_i g_i / g_k, maps minimal semiflows onto
//    minimal semiflows. So each class of such rows is computed with one
//    member, and every semiflow through it is copied for each other member.
//    Petri nets have many (transitions with the same effect, for the
//    T-semiflows).
//  - Rows that share no column, even through other rows, have no semiflow in
//    common: the minimal semiflows of the whole are those of each part.
#ifndef CRNINV_SEMIFLOWS_PRUNE_H_
#define CRNINV_SEMIFLOWS_PRUNE_H_

#include <cstdint>
#include <vector>

#include "semiflows/semiflows.h"

namespace crninv {

// Rows of the original matrix that form one independent part, and their
// matrix with the columns they use renumbered from 0 in increasing order.
struct SemiflowPart {
  std::vector<uint32_t> rows;  // ascending
  SparseMatrix matrix;
  // The rows left out as multiples of a row of the part: copies[i] for
  // local row i, empty for most. A row's factor is the common divisor of its
  // entries, positive.
  struct Copy {
    uint32_t row;  // of the original matrix
    int64_t factor;
  };
  std::vector<std::vector<Copy>> copies;
  std::vector<int64_t> factor;  // per local row
};

struct PrunedMatrix {
  std::vector<uint32_t> zero_rows;  // ascending; each alone a minimal semiflow
  std::vector<SemiflowPart> parts;  // in the order of their first rows
};

PrunedMatrix prune_and_split(const SparseMatrix& a);

}  // namespace crninv

#endif  // CRNINV_SEMIFLOWS_PRUNE_H_
