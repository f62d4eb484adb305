#include "reduce/modular_rref.h"

#include <algorithm>
#include <vector>

#include "reduce/mod_row.h"
#include "reduce/reduce_rows.h"

namespace crninv {

namespace {

// Whether n is prime: Miller-Rabin with the bases 2, 7 and 61, which decide
// every n below 4,759,123,141 (Jaeschke 1993).
bool is_prime(uint32_t n) {
  if (n < 2) return false;
  for (uint32_t small : {2u, 3u, 5u, 7u, 61u}) {
    if (n % small == 0) return n == small;
  }
  Prime prime{n};
  uint32_t d = n - 1;
  int s = 0;
  for (; d % 2 == 0; d /= 2) ++s;
  for (uint32_t a : {2u, 7u, 61u}) {
    uint32_t x = prime.power(a, d);
    if (x == 1 || x == n - 1) continue;
    bool composite = true;
    for (int r = 1; r < s && composite; ++r) {
      x = prime.mul(x, x);
      composite = x != n - 1;
    }
    if (composite) return false;
  }
  return true;
}

// The primes below 2^31, from the largest down.
class Primes {
 public:
  Prime next() {
    do {
      candidate -= 2;
    } while (!is_prime(candidate));
    return Prime{candidate};
  }

 private:
  uint32_t candidate = 2147483649u;  // 2^31 + 1: the first candidate is 2^31 - 1
};

// The reduced form modulo one prime, scaled by the determinant of the pivot
// columns: row i holds the residues of d times the i-th reduced row.
struct ModularForm {
  std::vector<uint32_t> pivots;  // the pivot column of each row, in order
  std::unique_ptr<ModRow[]> rows;
};

// form's rows, when it has them, are reused, cleared.
void reduce_modulo(const SparseMatrix& m, uint32_t n, const Prime& prime, Monitor& monitor,
                   ModularForm& form) {
  uint32_t count = m.rows;
  if (form.rows == nullptr) {
    form.rows.reset(new ModRow[count]);
    for (uint32_t k = 0; k < count; ++k) form.rows[k].resize(n, prime);
  }
  form.pivots.clear();
  for (uint32_t k = 0; k < count; ++k) {
    ModRow& row = form.rows[k];
    row.clear(prime);
    row.id = k;
    m.for_each_in_row(
        k, [&](uint32_t column, int64_t value) { row.set(column, prime.residue(value)); });
  }
  // Eliminations add multiples of rows to others, which keeps the
  // determinant: in the end each pivot row holds, in the pivot columns, only
  // the entry it had when chosen. So d is their product, with the sign of
  // the permutation that takes the rows to their places.
  uint32_t d = 1;
  reduce_rows(form.rows.get(), count, n, PivotRule::kSmallThenSparse, monitor, nullptr,
              [&](uint32_t row, uint32_t column) {
                d = prime.mul(d, form.rows[row].get(column));
                form.pivots.push_back(column);
              });
  std::vector<char> seen(count, 0);
  for (uint32_t start = 0; start < count; ++start) {
    if (seen[start]) continue;
    uint32_t length = 0;
    for (uint32_t i = start; !seen[i]; i = form.rows[i].id) {
      seen[i] = 1;
      ++length;
    }
    if (length % 2 == 0) d = prime.negate(d);
  }
  for (uint32_t i = 0; i < count; ++i) {
    monitor.heavy_tick();
    form.rows[i].normalize();
    form.rows[i].scale(d);
  }
}

// The integers rebuilt so far, row by row: values in the symmetric range of
// the product of the primes used.
using IntegerRow = SparseVector<mpz_class>;

// Takes one more prime's residues into the rows (Garner's method): each
// value becomes the one in the symmetric range of modulus * p that agrees
// with the old value modulo modulus and with the residue modulo p. True when
// no value changed.
bool combine(std::vector<IntegerRow>& rows, const ModularForm& form, const Prime& prime,
             const mpz_class& modulus, Monitor& monitor) {
  uint32_t inverse =
      prime.inverse(static_cast<uint32_t>(mpz_fdiv_ui(modulus.get_mpz_t(), prime.p)));
  mpz_class product = modulus * prime.p;
  mpz_class half = product / 2;
  bool same = true;
  auto update = [&](mpz_class& x, uint32_t residue) {
    uint32_t x_mod_p = static_cast<uint32_t>(mpz_fdiv_ui(x.get_mpz_t(), prime.p));
    uint32_t delta = prime.mul(prime.add(residue, prime.negate(x_mod_p)), inverse);
    if (delta == 0) return;
    same = false;
    mpz_addmul_ui(x.get_mpz_t(), modulus.get_mpz_t(), delta);
    if (x > half) x -= product;
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    monitor.heavy_tick();
    IntegerRow& row = rows[i];
    const ModRow& residues = form.rows[i];
    // Nearly always the residues fall where the values are: in place.
    size_t r = 0;
    bool aligned = residues.nonzeros() == row.index.size();
    if (aligned) {
      residues.for_each_nonzero(
          [&](uint32_t column, uint32_t) { aligned = aligned && row.index[r++] == column; });
    }
    if (aligned) {
      r = 0;
      residues.for_each_nonzero(
          [&](uint32_t, uint32_t residue) { update(row.value[r++], residue); });
      continue;
    }
    IntegerRow merged;
    merged.index.reserve(row.index.size() + residues.nonzeros());
    merged.value.reserve(row.index.size() + residues.nonzeros());
    auto take = [&](uint32_t column, mpz_class x, uint32_t residue) {
      update(x, residue);
      if (sgn(x) == 0) return;
      merged.index.push_back(column);
      merged.value.push_back(std::move(x));
    };
    r = 0;
    residues.for_each_nonzero([&](uint32_t column, uint32_t residue) {
      for (; r < row.index.size() && row.index[r] < column; ++r) {
        take(row.index[r], std::move(row.value[r]), 0);
      }
      if (r < row.index.size() && row.index[r] == column) {
        take(column, std::move(row.value[r++]), residue);
      } else {
        take(column, mpz_class(0), residue);
      }
    });
    for (; r < row.index.size(); ++r) take(row.index[r], std::move(row.value[r]), 0);
    row = std::move(merged);
  }
  return same;
}

// Whether the rows are the reduced form of m: their first entries in the
// given pivot columns, which no other row touches, and each row the
// combination of m's rows that its -I block (the last m.rows columns)
// names.
bool check(const WideRow<mpz_class>* rows, const std::vector<uint32_t>& pivots,
           const SparseMatrix& m, uint32_t n, Monitor& monitor) {
  uint32_t count = m.rows;
  uint32_t R = n - count;
  std::vector<char> is_pivot(n, 0);
  for (uint32_t column : pivots) is_pivot[column] = 1;
  std::vector<mpz_class> combined(R);
  std::vector<uint32_t> touched;
  for (uint32_t i = 0; i < count; ++i) {
    monitor.heavy_tick();
    const WideRow<mpz_class>& row = rows[i];
    if (row.next_nonzero(0) != pivots[i]) return false;
    bool clean = true;
    // combined = sum over k of -row[R + k] * (m's row k), in columns [0, R).
    touched.clear();
    row.for_each_nonzero([&](uint32_t column, const mpz_class& value) {
      if (column != pivots[i] && is_pivot[column]) clean = false;
      if (column < R) return;
      m.for_each_in_row(column - R, [&](uint32_t j, int64_t entry) {
        if (j >= R) return;
        if (sgn(combined[j]) == 0) touched.push_back(j);
        unsigned long size =
            entry < 0 ? 0ul - static_cast<unsigned long>(entry) : static_cast<unsigned long>(entry);
        if (entry > 0) {
          mpz_submul_ui(combined[j].get_mpz_t(), value.get_mpz_t(), size);
        } else {
          mpz_addmul_ui(combined[j].get_mpz_t(), value.get_mpz_t(), size);
        }
      });
    });
    if (!clean) return false;
    size_t matched = 0;
    row.for_each_nonzero([&](uint32_t column, const mpz_class& value) {
      if (column >= R) return;
      if (combined[column] != value) clean = false;
      ++matched;
    });
    size_t nonzero = 0;
    for (uint32_t column : touched) {
      nonzero += sgn(combined[column]) != 0;
      combined[column] = 0;
    }
    if (!clean || nonzero != matched) return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<WideRow<mpz_class>[]> modular_reduce(const SparseMatrix& m, uint32_t n,
                                                     Monitor& monitor) {
  uint32_t count = m.rows;
  Primes primes;
  std::vector<uint32_t> pivots;
  std::vector<IntegerRow> rows(count);
  mpz_class modulus = 1;
  const int kMostPrimes = 4096;
  ModularForm form;
  for (int tried = 0; tried < kMostPrimes; ++tried) {
    Prime prime = primes.next();
    reduce_modulo(m, n, prime, monitor, form);
    if (form.pivots.size() != count) continue;  // never for [A | -I]
    if (!pivots.empty() && form.pivots != pivots) {
      // The pivot columns over the rationals come first in column order; a
      // prime that moves one later divides a minor, and is set aside.
      if (!std::lexicographical_compare(form.pivots.begin(), form.pivots.end(), pivots.begin(),
                                        pivots.end())) {
        continue;
      }
      rows.assign(count, IntegerRow());
      modulus = 1;
    }
    pivots = form.pivots;
    bool stable = combine(rows, form, prime, modulus, monitor) && modulus != 1;
    modulus *= prime.p;
    if (!stable) continue;
    // The candidate, each row made primitive with a positive first entry.
    // The values move into it: should the check fail (a prime that agreed
    // by chance), the rebuilding starts over with the primes still to come.
    std::unique_ptr<WideRow<mpz_class>[]> result(new WideRow<mpz_class>[count]);
    for (uint32_t i = 0; i < count; ++i) {
      monitor.heavy_tick();
      result[i].resize(n);
      for (size_t e = 0; e < rows[i].index.size(); ++e) {
        result[i].append(rows[i].index[e], std::move(rows[i].value[e]));
      }
      rows[i] = IntegerRow();
      result[i].normalize();
    }
    if (check(result.get(), pivots, m, n, monitor)) return result;
    modulus = 1;
    pivots.clear();
  }
  return nullptr;
}

}  // namespace crninv
