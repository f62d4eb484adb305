#include "reduce/mod_row.h"

namespace crninv {

namespace {

// Compiled for the vector units the processor has, where the compiler can
// (AFL++'s instrumentation cannot take the clones).
#if defined(__x86_64__) && !defined(__AFL_COMPILER)
#define FOR_EACH_VECTOR_UNIT __attribute__((target_clones("avx2", "default")))
#else
#define FOR_EACH_VECTOR_UNIT
#endif

// x += factor * y over one block, every entry, with no branch: a zero of y
// adds zero. Adds to *change the entries that became nonzero less those
// that became zero; true when the block holds a nonzero entry after.
FOR_EACH_VECTOR_UNIT bool add_block(uint32_t* x, const uint32_t* y, FixedFactor factor,
                                    int32_t* change) {
  uint32_t any = 0;
  int32_t delta = 0;
  for (uint32_t k = 0; k < ModRow::kBlock; ++k) {
    uint32_t q = static_cast<uint32_t>((uint64_t{y[k]} * factor.share) >> 32);
    uint32_t r = y[k] * factor.f - q * factor.p;  // modulo 2^32, in [0, 2p)
    r = r >= factor.p ? r - factor.p : r;
    uint32_t sum = x[k] + r;
    sum = sum >= factor.p ? sum - factor.p : sum;
    delta += static_cast<int32_t>(sum != 0) - static_cast<int32_t>(x[k] != 0);
    x[k] = sum;
    any |= sum;
  }
  *change += delta;
  return any != 0;
}

}  // namespace

void ModRow::resize(uint32_t n, const Prime& p) {
  store.allocate(n);
  size = n;
  count = 0;
  prime = p;
}

void ModRow::clear(const Prime& p) {
  store.clear();
  count = 0;
  prime = p;
}

void ModRow::set(uint32_t column, uint32_t residue) {
  count += (residue != 0) - (store.data[column] != 0);
  store.data[column] = residue;
  store.refresh_block_bit(column / kBlock);
}

void ModRow::eliminate(uint32_t column, const ModRow& pivot, Workspace& work) {
  uint32_t t = get(column);
  if (t == 0) return;
  if (work.inverted != &pivot || work.column != column || work.prime != prime.p) {
    uint32_t p = pivot.get(column);
    if (p == 0) return;
    work.inverted = &pivot;
    work.column = column;
    work.prime = prime.p;
    work.inverse = prime.inverse(p);
  }
  // Over a field the multipliers are 1 and -t / p: the row keeps its own
  // entries where the pivot's are zero.
  FixedFactor factor(prime.negate(prime.mul(t, work.inverse)), prime);
  int32_t change = 0;
  pivot.store.for_each_block([&](uint32_t start) {
    bool any = add_block(store.data + start, pivot.store.data + start, factor, &change);
    store.set_block_bit(start / kBlock, any);
    return true;
  });
  count = static_cast<uint32_t>(static_cast<int64_t>(count) + change);
}

void ModRow::normalize() {
  uint32_t first = next_nonzero(0);
  if (first != kNone) scale(prime.inverse(store.data[first]));
}

void ModRow::scale(uint32_t factor) {
  if (factor == 1) return;
  FixedFactor f(factor, prime);
  store.for_each_block([&](uint32_t start) {
    for (uint32_t k = start; k < start + kBlock; ++k) store.data[k] = f.times(store.data[k]);
    return true;
  });
}

}  // namespace crninv
