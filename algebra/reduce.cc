#include "algebra/reduce.h"

#include "algebra/arith.h"

namespace {

// Position in [from, count) of the row with the smallest nonzero magnitude
// in column j (the lowest such position on ties), or count when none.
uint32_t choose_pivot(const Row* rows, uint32_t from, uint32_t count, uint32_t j) {
  uint32_t best = count;
  uint32_t best_magnitude = 0;
  for (uint32_t k = from; k < count; ++k) {
    if (!rows[k].maybe_nonzero(j)) continue;
    int32_t entry = rows[k].get(j);
    if (entry == 0) continue;
    uint32_t m = magnitude(entry);
    if (best == count || m < best_magnitude) {
      best = k;
      best_magnitude = m;
      if (m == 1) break;  // nothing later can be strictly smaller
    }
  }
  return best;
}

}  // namespace

void reduce(Row* rows, uint32_t count, uint32_t n) {
  uint32_t i = 0;  // where the next pivot row goes
  for (uint32_t j = 0; j < n && i < count; ++j) {
    uint32_t k = choose_pivot(rows, i, count, j);
    if (k == count) continue;
    rows[i].swap(rows[k]);
    // Clears column j above the pivot as well as below it.
    for (uint32_t other = 0; other < count; ++other) {
      if (other != i) rows[other].eliminate(j, rows[i]);
    }
    ++i;
  }
  for (uint32_t k = 0; k < count; ++k) rows[k].normalize();
}
