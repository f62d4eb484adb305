#include "algebra/mod_row.h"

Prime ModRow::prime{2147483647};

namespace {

size_t padded(uint32_t n) {
  return (size_t{n} + ModRow::kBlock - 1) / ModRow::kBlock * ModRow::kBlock;
}

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

void ModRow::release() {
  give_back(data, padded(size) * sizeof(uint32_t));
  give_back(blocks, words() * sizeof(uint64_t));
  data = nullptr;
  blocks = nullptr;
  count = 0;
}

void ModRow::resize(uint32_t n) {
  release();
  size = n;
  data = static_cast<uint32_t*>(obtain_zeroed(padded(n) * sizeof(uint32_t)));
  blocks = static_cast<uint64_t*>(obtain_zeroed(words() * sizeof(uint64_t)));
}

void ModRow::clear() {
  for (uint32_t w = 0; w < words(); ++w) {
    for (uint64_t bits = blocks[w]; bits != 0; bits &= bits - 1) {
      uint32_t start = (w * 64 + static_cast<uint32_t>(__builtin_ctzll(bits))) * kBlock;
      for (uint32_t k = start; k < start + kBlock; ++k) data[k] = 0;
    }
    blocks[w] = 0;
  }
  count = 0;
}

void ModRow::set(uint32_t column, uint32_t residue) {
  count += (residue != 0) - (data[column] != 0);
  data[column] = residue;
  refresh_block_bit(column / kBlock);
}

void ModRow::refresh_block_bit(uint32_t block) {
  const uint32_t* x = data + size_t{block} * kBlock;
  uint32_t any = 0;
  for (uint32_t k = 0; k < kBlock; ++k) any |= x[k];
  uint64_t bit = uint64_t{1} << (block % 64);
  blocks[block / 64] = any != 0 ? blocks[block / 64] | bit : blocks[block / 64] & ~bit;
}

uint32_t ModRow::next_nonzero(uint32_t column) const {
  for (uint32_t block = column / kBlock; column < size;) {
    uint64_t bits = blocks[block / 64] >> (block % 64);
    if (bits == 0) {
      block = (block / 64 + 1) * 64;
      column = block * kBlock;
      continue;
    }
    uint32_t skip = static_cast<uint32_t>(__builtin_ctzll(bits));
    if (skip != 0) {
      block += skip;
      column = block * kBlock;
      continue;
    }
    for (uint32_t end = (block + 1) * kBlock; column < end; ++column) {
      if (data[column] != 0) return column;
    }
    ++block;
  }
  return kNone;
}

void ModRow::eliminate(uint32_t column, const ModRow& pivot) {
  uint32_t t = get(column);
  if (t == 0) return;
  // Every target of a column meets the same pivot: its inverse is kept.
  static thread_local const ModRow* inverted = nullptr;
  static thread_local uint32_t inverted_column = kNone, inverted_prime = 0, inverse = 0;
  if (inverted != &pivot || inverted_column != column || inverted_prime != prime.p) {
    uint32_t p = pivot.get(column);
    if (p == 0) return;
    inverted = &pivot;
    inverted_column = column;
    inverted_prime = prime.p;
    inverse = prime.inverse(p);
  }
  FixedFactor factor(prime.negate(prime.mul(t, inverse)), prime);
  int32_t change = 0;
  for (uint32_t w = 0; w < pivot.words(); ++w) {
    for (uint64_t bits = pivot.blocks[w]; bits != 0; bits &= bits - 1) {
      uint32_t block = w * 64 + static_cast<uint32_t>(__builtin_ctzll(bits));
      bool any = add_block(data + size_t{block} * kBlock, pivot.data + size_t{block} * kBlock,
                           factor, &change);
      uint64_t bit = uint64_t{1} << (block % 64);
      blocks[block / 64] = any ? blocks[block / 64] | bit : blocks[block / 64] & ~bit;
    }
  }
  count = static_cast<uint32_t>(static_cast<int64_t>(count) + change);
}

void ModRow::normalize() {
  uint32_t first = next_nonzero(0);
  if (first != kNone) scale(prime.inverse(data[first]));
}

void ModRow::scale(uint32_t factor) {
  if (factor == 1) return;
  FixedFactor f(factor, prime);
  for (uint32_t w = 0; w < words(); ++w) {
    for (uint64_t bits = blocks[w]; bits != 0; bits &= bits - 1) {
      uint32_t start = (w * 64 + static_cast<uint32_t>(__builtin_ctzll(bits))) * kBlock;
      for (uint32_t k = start; k < start + kBlock; ++k) data[k] = f.times(data[k]);
    }
  }
}
