// The ways covering reaches its answer, against one another on random
// cones rich in what the presolve rules act on: the presolve with CLP and
// the exact certificates, CLP and the certificates on the whole cone, and
// GLPK's exact simplex alone; on random graphs, the strongly connected
// parts against GLPK's exact simplex. Then the certificates' reading refuses a
// floating solution that is wrong, and CLP stops when the caller asks.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "base/monitor.h"
#include "covering/certificates.h"
#include "covering/component_lp.h"
#include "covering/float_program.h"
#include "covering/graph_support.h"
#include "covering/largest_support.h"
#include "crninv/errors.h"
#include "tests/test_util.h"

namespace {

using Dense = std::vector<std::vector<int64_t>>;

// Rows of random entries, then copies that the rules act on: parallel and
// opposite rows, repeated columns, columns thinned to two entries of
// opposite signs or to one sign.
crninv::SparseMatrix random_cone(std::mt19937& random, uint32_t rows, uint32_t columns) {
  std::uniform_int_distribution<int> entry(-3, 3), pick(0, 9);
  Dense d(rows, std::vector<int64_t>(columns, 0));
  for (auto& row : d) {
    for (auto& v : row) v = pick(random) < 4 ? entry(random) : 0;
  }
  for (uint32_t i = 1; i < rows; ++i) {
    int what = pick(random);
    if (what == 0)
      for (uint32_t j = 0; j < columns; ++j) d[i][j] = 2 * d[i - 1][j];
    if (what == 1)
      for (uint32_t j = 0; j < columns; ++j) d[i][j] = -d[i - 1][j];
  }
  for (uint32_t j = 1; j < columns; ++j) {
    int what = pick(random);
    if (what == 0)
      for (uint32_t i = 0; i < rows; ++i) d[i][j] = -3 * d[i][j - 1];
    if (what <= 3) {
      for (uint32_t i = 0; i < rows; ++i) d[i][j] = 0;
      uint32_t up = random() % rows, down = random() % rows;
      d[up][j] = 1 + random() % 3;
      if (what != 3 && down != up) d[down][j] = -static_cast<int64_t>(1 + random() % 3);
    }
  }
  return sparse_matrix(d, columns);
}

std::vector<uint32_t> support(const std::vector<mpz_class>& y) {
  std::vector<uint32_t> s;
  for (uint32_t i = 0; i < y.size(); ++i) {
    if (y[i] != 0) s.push_back(i);
  }
  return s;
}

// y >= 0 and y A = 0, exactly.
void expect_semiflow(const crninv::SparseMatrix& a, const std::vector<mpz_class>& y) {
  std::vector<mpz_class> sum(a.columns);
  for (uint32_t i = 0; i < a.rows; ++i) {
    EXPECT_GE(y[i], 0);
    a.for_each_in_row(i, [&](uint32_t j, int64_t v) { sum[j] += y[i] * static_cast<long>(v); });
  }
  for (const mpz_class& s : sum) EXPECT_EQ(s, 0);
}

// The whole cone as one component: every row, every column with an entry.
crninv::Component whole(const crninv::SparseMatrix& a) {
  crninv::Component c;
  for (uint32_t i = 0; i < a.rows; ++i) c.rows.push_back(i);
  std::vector<uint8_t> used(a.columns, 0);
  for (uint32_t j : a.column) used[j] = 1;
  for (uint32_t j = 0; j < a.columns; ++j) {
    if (used[j]) c.columns.push_back(j);
  }
  return c;
}

std::vector<uint32_t> identity(uint32_t n) {
  std::vector<uint32_t> local(n);
  for (uint32_t i = 0; i < n; ++i) local[i] = i;
  return local;
}

TEST(CoveringMethods, PresolveClpAndExactSimplexAgree) {
  std::mt19937 random(1985);
  crninv::Control control;
  for (int trial = 0; trial < 300; ++trial) {
    SCOPED_TRACE(trial);
    crninv::SparseMatrix a = random_cone(random, 2 + trial % 9, 1 + trial % 7);
    crninv::SparseMatrix by_column = crninv::transposed(a);
    crninv::Monitor monitor(control, crninv::Progress::kCovering);
    uint64_t held = 0;
    crninv::CoveredSet presolved =
        crninv::largest_support(a, std::vector<uint8_t>(a.rows, 1), monitor, held, UINT64_MAX);
    crninv::Component all = whole(a);
    std::vector<uint32_t> local(a.rows, UINT32_MAX);
    std::vector<mpz_class> by_clp =
        crninv::component_support(a, by_column, all, local, monitor, held, UINT64_MAX);
    std::vector<mpz_class> by_glpk = crninv::exact_support(a, by_column, all, identity(a.rows),
                                                           crninv::FloatSolution(), monitor);
    expect_semiflow(a, by_clp);
    expect_semiflow(a, by_glpk);
    EXPECT_EQ(support(by_clp), presolved.covered);
    EXPECT_EQ(support(by_glpk), presolved.covered);
  }
}

// Rows that are arcs: +c at the head, -c at the tail, c from 1 to 3.
crninv::SparseMatrix random_arcs(std::mt19937& random, uint32_t nodes, uint32_t arcs) {
  Dense d;
  while (d.size() < arcs) {
    uint32_t tail = random() % nodes, head = random() % nodes;
    if (tail == head) continue;
    int64_t c = 1 + random() % 3;
    d.emplace_back(nodes, 0);
    d.back()[head] = c, d.back()[tail] = -c;
  }
  return sparse_matrix(d, nodes);
}

TEST(CoveringMethods, StronglyConnectedPartsAgreeWithTheExactSimplex) {
  std::mt19937 random(1972);
  crninv::Control control;
  for (int trial = 0; trial < 300; ++trial) {
    SCOPED_TRACE(trial);
    crninv::SparseMatrix a = random_arcs(random, 2 + trial % 7, 1 + trial % 13);
    crninv::Monitor monitor(control, crninv::Progress::kCovering);
    crninv::Component all = whole(a);
    std::vector<mpz_class> by_graph;
    ASSERT_TRUE(crninv::graph_support(a, all, by_graph, monitor));
    std::vector<mpz_class> by_glpk = crninv::exact_support(
        a, crninv::transposed(a), all, identity(a.rows), crninv::FloatSolution(), monitor);
    expect_semiflow(a, by_graph);
    EXPECT_EQ(support(by_graph), support(by_glpk));
  }
  // A row of three entries, or two of unequal size, is no arc: nothing is
  // decided.
  for (const Dense& rows : {Dense{{1, -1, 0}, {-1, 1, 1}}, Dense{{2, -1}, {-1, 1}}}) {
    crninv::SparseMatrix a = sparse_matrix(rows, static_cast<uint32_t>(rows[0].size()));
    crninv::Monitor monitor(control, crninv::Progress::kCovering);
    std::vector<mpz_class> y;
    EXPECT_FALSE(crninv::graph_support(a, whole(a), y, monitor));
  }
}

// A solution of the program on A = (1; -1; 1 1 ...), as CLP gives it.
struct Solved {
  crninv::SparseMatrix a;
  crninv::Component all;
  crninv::FloatSolution solution;
};

Solved solved(const Dense& rows, uint32_t columns) {
  Solved s{sparse_matrix(rows, columns), {}, {}};
  s.all = whole(s.a);
  crninv::Control control;
  crninv::Monitor monitor(control, crninv::Progress::kCovering);
  s.solution = crninv::solve_floating(crninv::transposed(s.a), s.all, identity(s.a.rows), monitor);
  return s;
}

TEST(CoveringCertificates, WrongFloatsAreRefused) {
  // Rows 0 and 1 cancel; row 2 is alone in column 1, on no semiflow, so
  // the reading needs the Tucker alternative too.
  Solved s = solved(Dense{{1, 0}, {-1, 0}, {0, 1}}, 2);
  crninv::Control control;
  crninv::Monitor monitor(control, crninv::Progress::kCovering);
  std::vector<mpz_class> y;
  ASSERT_TRUE(crninv::read_certificates(s.a, s.all, s.solution, y, monitor));
  EXPECT_EQ(support(y), (std::vector<uint32_t>{0, 1}));

  struct Tamper {
    const char* name;
    size_t at;  // into primal: t then s
    double value;
  };
  const Tamper tampers[] = {
      {"a covered row said uncovered", 0, 0.0},
      {"an uncovered row said covered", 2, 1.0},
      {"a weight off the kernel", 3, 0.5},
  };
  for (const Tamper& t : tampers) {
    SCOPED_TRACE(t.name);
    crninv::FloatSolution wrong = s.solution;
    wrong.primal[t.at] = t.value;
    EXPECT_FALSE(crninv::read_certificates(s.a, s.all, wrong, y, monitor));
  }
  crninv::FloatSolution no_duals = s.solution;
  for (double& d : no_duals.duals) d = 0;
  EXPECT_FALSE(crninv::read_certificates(s.a, s.all, no_duals, y, monitor));
}

TEST(CoveringCertificates, ExactSimplexFromTheFloatingBasis) {
  Solved s = solved(Dense{{1, 0, 2}, {-1, 1, 0}, {0, -1, -1}, {0, 1, 0}}, 3);
  crninv::Control control;
  crninv::Monitor monitor(control, crninv::Progress::kCovering);
  std::vector<mpz_class> y = crninv::exact_support(s.a, crninv::transposed(s.a), s.all,
                                                   identity(s.a.rows), s.solution, monitor);
  expect_semiflow(s.a, y);
}

TEST(CoveringLimits, ClpStopsWhenAsked) {
  crninv::SparseMatrix a = sparse_matrix(Dense{{1, -1, 0}, {0, 1, -1}, {-1, 0, 1}, {1, 1, 1}}, 3);
  crninv::Control control;
  control.progress = [](const crninv::Progress&) { return false; };
  crninv::Monitor monitor(control, crninv::Progress::kCovering);
  // The callback is due 20 ms after the monitor starts: the first
  // iteration after that calls it, inside CLP's solve.
  std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_THROW(crninv::solve_floating(crninv::transposed(a), whole(a), identity(a.rows), monitor),
               crninv::Cancelled);
}

}  // namespace
