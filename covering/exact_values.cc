#include "covering/exact_values.h"

#include <cmath>
#include <map>

#include "crninv/errors.h"

namespace crninv {

namespace {

constexpr double kDenominatorLimit = 16777216.0;          // 2^24
constexpr double kRelativeError = 1.0 / 1099511627776.0;  // 2^-40

}  // namespace

bool in_kernel(const SparseMatrix& a, const Component& component, const std::vector<mpz_class>& y,
               Monitor* monitor) {
  std::map<uint32_t, mpz_class> sum;
  for (size_t k = 0; k < component.rows.size(); ++k) {
    if (monitor) monitor->tick();
    if (y[k] == 0) continue;
    a.for_each_in_row(component.rows[k], [&](uint32_t j, int64_t v) {
      sum[j] += y[k] * mpz_class(static_cast<long>(v));
    });
  }
  for (const auto& entry : sum) {
    if (entry.second != 0) return false;
  }
  return true;
}

std::vector<mpz_class> scaled(const std::vector<mpq_class>& values) {
  mpz_class denominator = 1;
  for (const mpq_class& v : values) denominator = lcm(denominator, v.get_den());
  std::vector<mpz_class> integers;
  for (const mpq_class& v : values) integers.push_back(v.get_num() * (denominator / v.get_den()));
  return integers;
}

namespace {

// A sparse row of rationals, by column.
using RationalRow = std::map<int, mpq_class>;

// The structural values of the final basis, solved in rationals: the
// nonbasic columns at their bounds, the basic ones from the rows whose
// auxiliary variable is not basic (the others hold with it).
std::vector<mpq_class> basis_values(glp_prob* lp) {
  int m = glp_get_num_rows(lp), n = glp_get_num_cols(lp);
  std::vector<mpq_class> x(n + 1, 0);
  std::vector<uint8_t> basic(n + 1, 0);
  for (int j = 1; j <= n; ++j) {
    int status = glp_get_col_stat(lp, j);
    if (status == GLP_BS) {
      basic[j] = 1;
    } else if (status == GLP_NU) {
      x[j] = mpq_class(glp_get_col_ub(lp, j));
    } else {
      x[j] = mpq_class(glp_get_col_lb(lp, j));
    }
  }
  std::vector<int> index(n + 1);
  std::vector<double> value(n + 1);
  // Forward elimination row by row against the pivots already chosen.
  std::vector<RationalRow> pivots;
  std::vector<int> pivot_column;
  std::vector<mpq_class> pivot_rhs;
  std::map<int, size_t> pivot_of;
  for (int i = 1; i <= m; ++i) {
    if (glp_get_row_stat(lp, i) == GLP_BS) continue;
    RationalRow row;
    mpq_class rhs = 0;
    int count = glp_get_mat_row(lp, i, index.data(), value.data());
    for (int e = 1; e <= count; ++e) {
      mpq_class v(value[e]);
      if (basic[index[e]]) {
        row[index[e]] += v;
      } else {
        rhs -= v * x[index[e]];
      }
    }
    for (auto it = row.begin(); it != row.end();) {
      auto found = pivot_of.find(it->first);
      if (found == pivot_of.end() || it->second == 0) {
        ++it;
        continue;
      }
      mpq_class factor = it->second;
      const RationalRow& p = pivots[found->second];
      for (const auto& entry : p) row[entry.first] -= factor * entry.second;
      rhs -= factor * pivot_rhs[found->second];
      it = row.erase(row.find(it->first));
      it = row.begin();
    }
    for (auto it = row.begin(); it != row.end();) it = it->second == 0 ? row.erase(it) : ++it;
    if (row.empty()) continue;
    int column = row.begin()->first;
    mpq_class head = row.begin()->second;
    for (auto& entry : row) entry.second /= head;
    pivot_of[column] = pivots.size();
    pivots.push_back(std::move(row));
    pivot_column.push_back(column);
    pivot_rhs.push_back(rhs / head);
  }
  // Back substitution, last pivot first.
  for (size_t p = pivots.size(); p-- > 0;) {
    mpq_class v = pivot_rhs[p];
    for (const auto& entry : pivots[p]) {
      if (entry.first != pivot_column[p]) v -= entry.second * x[entry.first];
    }
    x[pivot_column[p]] = v;
  }
  return x;
}

}  // namespace

bool simplest_fraction(double x, mpq_class& q) {
  if (!std::isfinite(x) || x < 0) return false;
  // Continued fraction convergents of x.
  double rest = x;
  mpz_class p0 = 0, q0 = 1, p1 = 1, q1 = 0;
  for (int step = 0; step < 64; ++step) {
    double whole = std::floor(rest);
    mpz_class a(whole);
    mpz_class p2 = a * p1 + p0, q2 = a * q1 + q0;
    if (q2 > mpz_class(kDenominatorLimit)) return false;
    p0 = p1, q0 = q1, p1 = p2, q1 = q2;
    double approx = p1.get_d() / q1.get_d();
    if (std::fabs(approx - x) <= kRelativeError * std::max(1.0, x)) {
      q = mpq_class(p1, q1);
      q.canonicalize();
      return true;
    }
    rest -= whole;
    if (rest == 0) return false;
    rest = 1 / rest;
  }
  return false;
}

std::vector<mpz_class> exact_values(const SparseMatrix& a, const Component& component,
                                    const std::vector<uint32_t>& /*local*/, glp_prob* lp) {
  int n = static_cast<int>(component.rows.size());
  std::vector<mpq_class> y(n, 0);
  bool read = true;
  for (int k = 0; k < n && read; ++k) {
    if (glp_get_col_prim(lp, k + 1) < 0.5) continue;
    mpq_class s;
    read = simplest_fraction(glp_get_col_prim(lp, n + k + 1), s);
    y[k] = 1 + s;
  }
  if (read) {
    std::vector<mpz_class> integers = scaled(y);
    if (in_kernel(a, component, integers)) return integers;
  }
  std::vector<mpq_class> x = basis_values(lp);
  for (int k = 0; k < n; ++k) y[k] = x[k + 1] + x[n + k + 1];
  std::vector<mpz_class> integers = scaled(y);
  if (!in_kernel(a, component, integers)) {
    throw Error("the covering program's basis does not solve its rows exactly");
  }
  return integers;
}

}  // namespace crninv
