#include "algebra/transpose.h"

void transpose_augmented(const Row* rows, uint32_t S, uint32_t R, Row* out) {
  for (uint32_t j = 0; j < R; ++j) out[j].resize(S + R);
  // Species in order: every row of out receives its entries in column order.
  for (uint32_t k = 0; k < S; ++k) {
    rows[k].for_each_nonzero([&](uint32_t j, int32_t value) {
      if (j < R) out[j].add(k, value);
    });
  }
  for (uint32_t j = 0; j < R; ++j) out[j].add(S + j, -1);
}
