#include "covering/certificates.h"

#include <algorithm>
#include <cmath>

#include "covering/exact_values.h"

namespace crninv {

namespace {

// A solver's zero.
constexpr double kZero = 1e-9;

// v as the simplest fraction near it, of either sign.
bool read_value(double v, mpq_class& q) {
  if (std::fabs(v) <= kZero) {
    q = 0;
    return true;
  }
  if (!simplest_fraction(std::fabs(v), q)) return false;
  if (v < 0) q = -q;
  return true;
}

bool read_semiflow(const SparseMatrix& a, const Component& component, const FloatSolution& solution,
                   std::vector<mpz_class>& y, Monitor& monitor) {
  size_t n = component.rows.size();
  std::vector<mpq_class> values(n, 0);
  for (size_t k = 0; k < n; ++k) {
    if (solution.primal[k] <= 0.5) continue;
    mpq_class s;
    if (!read_value(solution.primal[n + k], s) || s < 0) return false;
    values[k] = 1 + s;
  }
  y = scaled(values);
  return in_kernel(a, component, y, &monitor);
}

// Whether the duals, read exactly, make A x of one sign, nonzero where y
// is zero.
bool read_alternative(const SparseMatrix& a, const Component& component,
                      const FloatSolution& solution, const std::vector<mpz_class>& y,
                      Monitor& monitor) {
  std::vector<mpq_class> duals(solution.duals.size());
  for (size_t r = 0; r < duals.size(); ++r) {
    if (!read_value(solution.duals[r], duals[r])) return false;
  }
  std::vector<mpz_class> x = scaled(duals);
  int sign = 0;
  for (size_t k = 0; k < component.rows.size(); ++k) {
    mpz_class sum = 0;
    a.for_each_in_row(component.rows[k], [&](uint32_t j, int64_t v) {
      auto at = std::lower_bound(component.columns.begin(), component.columns.end(), j);
      sum += x[at - component.columns.begin()] * static_cast<long>(v);
    });
    int s = sgn(sum);
    if (s == 0 && y[k] == 0) return false;
    if (s != 0 && sign != 0 && s != sign) return false;
    if (s != 0) sign = s;
    monitor.tick();
  }
  return true;
}

}  // namespace

bool read_certificates(const SparseMatrix& a, const Component& component,
                       const FloatSolution& solution, std::vector<mpz_class>& y, Monitor& monitor) {
  monitor.new_units();
  if (!solution.optimal || !read_semiflow(a, component, solution, y, monitor)) return false;
  monitor.tick();
  bool all = std::none_of(y.begin(), y.end(), [](const mpz_class& v) { return v == 0; });
  return all || read_alternative(a, component, solution, y, monitor);
}

}  // namespace crninv
