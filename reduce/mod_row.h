// Rows modulo a prime below 2^31, for the multimodular reduction
// (modular_rref.h), dense with a bitmap of nonzero blocks. They offer the
// operations that reduce_rows needs, as Row and WideRow do; here pivots
// are chosen for less fill, since every nonzero residue divides.
#ifndef CRNINV_REDUCE_MOD_ROW_H_
#define CRNINV_REDUCE_MOD_ROW_H_

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "rows/block_store.h"

namespace crninv {

// Arithmetic modulo the prime p < 2^31.
struct Prime {
  uint32_t p;

  uint32_t mul(uint32_t a, uint32_t b) const { return static_cast<uint32_t>(uint64_t{a} * b % p); }
  uint32_t add(uint32_t a, uint32_t b) const {
    uint32_t s = a + b;
    return s >= p ? s - p : s;
  }
  uint32_t negate(uint32_t a) const { return a == 0 ? 0 : p - a; }
  uint32_t power(uint32_t base, uint32_t e) const {
    uint32_t r = 1;
    for (; e != 0; e >>= 1, base = mul(base, base)) {
      if (e & 1) r = mul(r, base);
    }
    return r;
  }
  uint32_t inverse(uint32_t a) const { return power(a, p - 2); }
  // A residue of value, which may be negative.
  uint32_t residue(int64_t value) const {
    int64_t r = value % static_cast<int64_t>(p);
    return static_cast<uint32_t>(r < 0 ? r + p : r);
  }
};

// Multiplication by one fixed factor f, without a division (Shoup): the
// quotient comes from f's precomputed share of 2^32.
struct FixedFactor {
  FixedFactor(uint32_t f, const Prime& prime)
      : f(f), share(static_cast<uint32_t>((uint64_t{f} << 32) / prime.p)), p(prime.p) {}
  uint32_t times(uint32_t y) const {
    uint32_t q = static_cast<uint32_t>((uint64_t{y} * share) >> 32);
    uint32_t r = static_cast<uint32_t>(uint64_t{y} * f - uint64_t{q} * p);
    return r >= p ? r - p : r;
  }
  uint32_t f, share, p;
};

class ModRow {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;
  static constexpr uint32_t kBlock = BlockStore<uint32_t>::kBlock;

  // Every target of a column meets the same pivot: its inverse is kept.
  struct Workspace {
    const ModRow* inverted = nullptr;
    uint32_t column = kNone, prime = 0, inverse = 0;
  };

  ModRow() = default;
  ModRow(const ModRow&) = delete;
  ModRow& operator=(const ModRow&) = delete;

  // n zero entries, modulo prime.
  void resize(uint32_t n, const Prime& prime);
  // Makes every entry zero again, keeping the storage, and takes a new prime.
  void clear(const Prime& prime);
  uint32_t length() const { return size; }
  void set(uint32_t column, uint32_t residue);
  uint32_t get(uint32_t column) const { return column < size ? store.data[column] : 0; }
  uint32_t nonzeros() const { return count; }
  uint32_t next_nonzero(uint32_t column) const { return store.next_nonzero(column); }
  template <typename Visit>
  void for_each_nonzero(Visit visit) const {
    store.for_each_nonzero(visit);
  }
  void swap(ModRow& other) {
    store.swap(other.store);
    std::swap(size, other.size);
    std::swap(count, other.count);
    std::swap(id, other.id);
    std::swap(prime, other.prime);
  }

  // this -= (this[column] / pivot[column]) * pivot.
  void eliminate(uint32_t column, const ModRow& pivot, Workspace& work);
  // Scales the row so that its first entry is 1.
  void normalize();
  void scale(uint32_t factor);

  uint32_t id = 0;  // the row's index before the reduction moved it

 private:
  // Rows modulo a prime fill in fast, and a scatter into them costs the
  // pivot's entries alone: they are dense.
  BlockStore<uint32_t> store;
  uint32_t size = 0;
  uint32_t count = 0;  // nonzero entries
  Prime prime{2};
};

// Pivots are not chosen by magnitude modulo a prime.
inline int compare_magnitudes(const ModRow&, const ModRow&, uint32_t) {
  return 0;
}

}  // namespace crninv

#endif  // CRNINV_REDUCE_MOD_ROW_H_
