#include "covering/largest_support.h"

#include <algorithm>
#include <map>

#include "covering/component_lp.h"
#include "covering/presolve.h"
#include "crninv/errors.h"

namespace crninv {

namespace {

// Whether y (by row) is non-negative, positive exactly on support and
// in the kernel: y A = 0, computed in GMP integers.
bool certifies(const SparseMatrix& a, const std::map<uint32_t, mpz_class>& y,
               const std::vector<uint32_t>& support, Monitor& monitor) {
  monitor.new_units();
  if (y.size() != support.size()) return false;
  size_t k = 0;
  std::vector<mpz_class> sum(a.columns);
  for (const auto& entry : y) {
    if (entry.first != support[k++] || entry.second <= 0) return false;
    monitor.tick();
    a.for_each_in_row(entry.first, [&](uint32_t j, int64_t v) {
      sum[j] += entry.second * mpz_class(static_cast<long>(v));
    });
  }
  for (const mpz_class& s : sum) {
    if (s != 0) return false;
  }
  return true;
}

IntegerRows one_row(const std::map<uint32_t, mpz_class>& y) {
  IntegerRows rows;
  if (y.empty()) return rows;
  for (const auto& entry : y) {
    if (entry.second.fits_slong_p()) {
      rows.push(entry.first, Integer(entry.second.get_si()));
    } else {
      rows.push(entry.first, Integer::from_decimal(entry.second.get_str()));
    }
  }
  rows.end_row();
  return rows;
}

}  // namespace

CoveredSet largest_support(const SparseMatrix& a, const std::vector<uint8_t>& allowed,
                           Monitor& monitor, uint64_t& held, uint64_t budget) {
  uint64_t bytes = ConeRows::bytes(a);
  if (held + bytes > budget) throw OutOfMemory();
  held += bytes;
  Presolved parts = presolve(a, allowed, monitor);
  Progress& progress = monitor.state();
  progress.steps += parts.components.size();
  // The values of the unknowns left, by slot, then read back as A's.
  std::vector<mpz_class> z(a.rows);
  for (uint32_t s : parts.alone) z[s] = 1;
  std::vector<uint32_t> local(a.rows, UINT32_MAX);
  for (const Component& component : parts.components) {
    std::vector<mpz_class> piece =
        component_support(parts.rows, parts.by_column, component, local, monitor, held, budget);
    for (size_t k = 0; k < piece.size(); ++k) z[component.rows[k]] = piece[k];
    ++progress.step;
    monitor.tick();
  }
  std::vector<mpz_class> values = parts.cone.read_back(z);
  held -= bytes;
  std::map<uint32_t, mpz_class> y;
  for (uint32_t i = 0; i < a.rows; ++i) {
    if (values[i] != 0) y[i] = values[i];
  }
  // Coprime entries: the pieces are independent, so each was scaled on its
  // own; the gcd of the whole row divides out.
  mpz_class divisor = 0;
  for (const auto& entry : y) divisor = gcd(divisor, entry.second);
  CoveredSet result;
  for (auto& entry : y) {
    entry.second /= divisor;
    result.covered.push_back(entry.first);
  }
  if (!certifies(a, y, result.covered, monitor))
    throw Error("the covering certificate failed its check");
  result.certificate = one_row(y);
  return result;
}

}  // namespace crninv
