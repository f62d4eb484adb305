// Minimal semiflows checked against facts computed here independently: on
// small random matrices, the whole set against a brute-force enumeration of
// supports in exact rational arithmetic; on hand-made and real networks,
// against what their structure proves.
#include "semiflows/semiflows.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "crninv/text_format.h"

namespace {

using namespace crninv;

// The minimal semiflows of a, with nobody watching.
SemiflowStatus minimal_semiflows(const SparseMatrix& a, uint64_t cap, std::vector<Semiflow>* out) {
  Control control;
  Monitor monitor(control, Progress::kSemiflows);
  return crninv::minimal_semiflows(a, cap, out, monitor);
}

// The coefficient of s's k-th term in decimal.
std::string coefficient_text(const Semiflow& s, size_t k) {
  return s.wide.empty() ? std::to_string(s.coefficients[k]) : s.wide[k].get_str();
}

using Dense = std::vector<std::vector<int64_t>>;  // rows of a matrix

SparseMatrix sparse(const Dense& a, uint32_t columns) {
  SparseMatrix m;
  m.columns = columns;
  for (const auto& row : a) {
    for (uint32_t j = 0; j < columns; ++j) {
      if (row[j] == 0) continue;
      m.column.push_back(j);
      m.value.push_back(row[j]);
    }
    m.end_row();
  }
  return m;
}

// The vector y on the rows in support (ascending) with y^T a = 0, when those
// rows carry exactly one such vector up to scale and it is nonzero on each
// of them; scaled to primitive with a positive first entry. Empty otherwise.
// Gauss-Jordan over the rationals on the columns of a restricted to support.
std::vector<mpz_class> lone_kernel_vector(const Dense& a, uint32_t columns,
                                          const std::vector<uint32_t>& support) {
  size_t s = support.size();
  // Equations: for each column j, sum_k y_k a[support[k]][j] = 0.
  std::vector<std::vector<mpq_class>> eq(columns, std::vector<mpq_class>(s));
  for (uint32_t j = 0; j < columns; ++j) {
    for (size_t k = 0; k < s; ++k) eq[j][k] = a[support[k]][j];
  }
  std::vector<int> pivot_row(s, -1);
  size_t rank = 0;
  for (size_t k = 0; k < s && rank < eq.size(); ++k) {
    size_t r = rank;
    while (r < eq.size() && eq[r][k] == 0) ++r;
    if (r == eq.size()) continue;
    std::swap(eq[r], eq[rank]);
    for (size_t other = 0; other < eq.size(); ++other) {
      if (other == rank || eq[other][k] == 0) continue;
      mpq_class f = eq[other][k] / eq[rank][k];
      for (size_t i = 0; i < s; ++i) eq[other][i] -= f * eq[rank][i];
    }
    pivot_row[k] = static_cast<int>(rank++);
  }
  if (s - rank != 1) return {};
  size_t free = 0;
  while (pivot_row[free] >= 0) ++free;
  std::vector<mpq_class> y(s);
  y[free] = 1;
  for (size_t k = 0; k < s; ++k) {
    if (pivot_row[k] >= 0) y[k] = -eq[pivot_row[k]][free] / eq[pivot_row[k]][k];
  }
  mpz_class lcm = 1, g = 0;
  for (const auto& q : y) lcm = ::lcm(lcm, mpz_class(q.get_den()));
  std::vector<mpz_class> z(s);
  for (size_t k = 0; k < s; ++k) {
    z[k] = mpz_class(y[k] * lcm);
    if (z[k] == 0) return {};
    g = gcd(g, z[k]);
  }
  if (sgn(z[0]) < 0) g = -g;
  for (auto& x : z) x /= g;
  return z;
}

// Every minimal semiflow, by enumerating the supports: a support is minimal
// exactly when the kernel restricted to it is one line, nonzero on every row
// of it, and of one sign.
std::map<std::vector<uint32_t>, std::vector<mpz_class>> brute_force(const Dense& a,
                                                                    uint32_t columns) {
  std::map<std::vector<uint32_t>, std::vector<mpz_class>> found;
  uint32_t m = static_cast<uint32_t>(a.size());
  for (uint32_t set = 1; set < (1u << m); ++set) {
    std::vector<uint32_t> support;
    for (uint32_t i = 0; i < m; ++i) {
      if (set >> i & 1) support.push_back(i);
    }
    std::vector<mpz_class> y = lone_kernel_vector(a, columns, support);
    bool positive = !y.empty();
    for (const auto& x : y) positive = positive && sgn(x) > 0;
    if (positive) found[support] = y;
  }
  return found;
}

// The coefficients of s, after checking how they are held: 64-bit, or GMP
// integers only when one of them needs it; the text form agrees.
std::vector<mpz_class> values_of(const Semiflow& s) {
  std::vector<mpz_class> v;
  EXPECT_NE(s.wide.empty(), s.coefficients.empty());
  if (s.wide.empty()) {
    for (int64_t x : s.coefficients) v.emplace_back(static_cast<long>(x));
  } else {
    v.assign(s.wide.begin(), s.wide.end());
    bool needed = false;
    for (const mpz_class& x : v) needed = needed || !x.fits_slong_p();
    EXPECT_TRUE(needed) << "GMP integers held where 64 bits suffice";
  }
  EXPECT_EQ(v.size(), s.support.size());
  for (size_t k = 0; k < v.size() && k < s.support.size(); ++k) {
    EXPECT_EQ(coefficient_text(s, k), v[k].get_str());
  }
  return v;
}

// With a cap at the answer's size the run completes unless the work on the
// way held more; one below, it never completes, and the result is empty.
void expect_cap_holds(const SparseMatrix& a, uint64_t count) {
  std::vector<Semiflow> got;
  SemiflowStatus at = minimal_semiflows(a, count, &got);
  EXPECT_NE(at, SemiflowStatus::kTooMany);
  EXPECT_EQ(got.size(), at == SemiflowStatus::kDone ? count : 0);
  if (count == 0) return;
  EXPECT_NE(minimal_semiflows(a, count - 1, &got), SemiflowStatus::kDone);
  EXPECT_TRUE(got.empty());
}

// Checks each property of the result on its own, then the whole set.
void expect_minimal_semiflows(const Dense& a, uint32_t columns) {
  std::vector<Semiflow> got;
  ASSERT_EQ(minimal_semiflows(sparse(a, columns), UINT64_MAX, &got), SemiflowStatus::kDone);
  expect_cap_holds(sparse(a, columns), got.size());
  for (size_t k = 0; k < got.size(); ++k) {
    const Semiflow& s = got[k];
    std::vector<mpz_class> y = values_of(s);
    ASSERT_EQ(s.support.size(), y.size());
    mpz_class g = 0;
    for (size_t i = 0; i < s.support.size(); ++i) {
      EXPECT_GT(sgn(y[i]), 0);
      if (i > 0) {
        EXPECT_LT(s.support[i - 1], s.support[i]);
      }
      g = gcd(g, y[i]);
    }
    EXPECT_EQ(g, 1) << "not primitive";
    for (uint32_t j = 0; j < columns; ++j) {
      mpz_class sum = 0;
      for (size_t i = 0; i < s.support.size(); ++i) {
        sum += y[i] * a[s.support[i]][j];
      }
      EXPECT_EQ(sum, 0) << "not in the kernel at column " << j;
    }
    if (k > 0) {
      EXPECT_LT(got[k - 1].support, s.support) << "out of order";
    }
  }
  auto expected = brute_force(a, columns);
  ASSERT_EQ(got.size(), expected.size());
  for (const Semiflow& s : got) {
    auto it = expected.find({s.support.begin(), s.support.end()});
    ASSERT_NE(it, expected.end()) << "support not minimal";
    EXPECT_EQ(values_of(s), it->second);
  }
}

// Petri-net-like: each column takes from and gives to a few rows, weights
// 1 to 3, or far larger where big is set, so that 64 bits overflow.
// Where copies is set, some rows are positive multiples of others.
Dense random_matrix(std::mt19937& random, uint32_t m, uint32_t n, bool big, bool copies = false) {
  Dense a(m, std::vector<int64_t>(n, 0));
  for (uint32_t j = 0; j < n; ++j) {
    for (uint32_t i = 0; i < m; ++i) {
      uint32_t roll = random() % 10;
      int64_t w = big ? 1000000000 + random() % 1000 : 1 + random() % 3;
      if (roll < 2) a[i][j] -= w;
      if (roll == 2 || roll == 3) a[i][j] += w;
    }
  }
  for (uint32_t i = 1; copies && i < m; ++i) {
    if (random() % 2 == 0) continue;
    // Row i becomes times row k, and row k now and then twice itself, where
    // the entries still fit 32 bits.
    uint32_t k = random() % i, times = 1 + random() % 3, twice = 1 + random() % 2;
    bool fit = true;
    for (uint32_t j = 0; j < n; ++j) fit = fit && std::abs(a[k][j] * times * twice) <= INT32_MAX;
    if (!fit) continue;
    for (uint32_t j = 0; j < n; ++j) {
      a[i][j] = a[k][j] * times;
      a[k][j] *= twice;
    }
  }
  return a;
}

Dense transpose(const Dense& a, uint32_t n) {
  Dense t(n, std::vector<int64_t>(a.size()));
  for (size_t i = 0; i < a.size(); ++i) {
    for (uint32_t j = 0; j < n; ++j) t[j][i] = a[i][j];
  }
  return t;
}

TEST(Semiflows, RandomMatricesAgainstBruteForce) {
  struct Family {
    uint32_t max_rows, max_columns, cases;
    bool big, copies;
  };
  // Small weights; weights near 2^30, whose combinations pass 64 bits; rows
  // that are multiples of others, small and big.
  for (Family f : {Family{9, 8, 300, false, false}, Family{8, 7, 100, true, false},
                   Family{9, 6, 150, false, true}, Family{7, 5, 50, true, true}}) {
    std::mt19937 random(f.max_rows * 7919 + f.big + 2 * f.copies);
    for (uint32_t c = 0; c < f.cases; ++c) {
      uint32_t m = 1 + random() % f.max_rows, n = random() % (f.max_columns + 1);
      Dense a = random_matrix(random, m, n, f.big, f.copies);
      SCOPED_TRACE("case " + std::to_string(c) + (f.big ? " big" : "") +
                   (f.copies ? " copies" : ""));
      expect_minimal_semiflows(a, n);
      if (n > 0 && n <= 9) expect_minimal_semiflows(transpose(a, n), m);
    }
  }
}

TEST(Semiflows, CapOnKnownSemiflowsProvesTheAnswerLarger) {
  // Zero rows are minimal semiflows known from the start.
  Dense a = {{0, 0}, {0, 0}, {0, 0}, {1, -1}};
  std::vector<Semiflow> got;
  EXPECT_EQ(minimal_semiflows(sparse(a, 2), 2, &got), SemiflowStatus::kTooMany);
  EXPECT_TRUE(got.empty());
  EXPECT_EQ(minimal_semiflows(sparse(a, 2), 3, &got), SemiflowStatus::kDone);
  EXPECT_EQ(got.size(), 3u);
}

TEST(Semiflows, TransposedTwiceIsTheSame) {
  std::mt19937 random(5);
  Dense a = random_matrix(random, 7, 5, false);
  SparseMatrix m = sparse(a, 5), back = transposed(transposed(m));
  EXPECT_EQ(back.rows, m.rows);
  EXPECT_EQ(back.columns, m.columns);
  EXPECT_EQ(back.start, m.start);
  EXPECT_EQ(back.column, m.column);
  EXPECT_EQ(back.value, m.value);
}

// The stoichiometric matrix of a network file, read as the tool reads it,
// and the species names by index.
SparseMatrix read_matrix(const std::string& path, std::vector<std::string>* names) {
  Network network = read_network(path);
  *names = network.species();
  return network.stoichiometry();
}

// Each semiflow as "coefficient name" terms joined by " + ", coefficient 1
// left out.
std::vector<std::string> spelled(const std::vector<Semiflow>& semiflows,
                                 const std::vector<std::string>& names) {
  std::vector<std::string> lines;
  for (const Semiflow& s : semiflows) {
    std::string line;
    for (size_t k = 0; k < s.support.size(); ++k) {
      if (k > 0) line += " + ";
      if (coefficient_text(s, k) != "1") line += coefficient_text(s, k) + " ";
      line += names[s.support[k]];
    }
    lines.push_back(line);
  }
  return lines;
}

TEST(Semiflows, MutualExclusionAllowsOneProcessInTheCriticalSection) {
  std::string path = ::testing::TempDir() + "/mutex.net";
  FILE* f = fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fputs(
      "enter1: idle1 + mutex -> cs1;\nleave1: cs1 -> idle1 + mutex;\n"
      "enter2: idle2 + mutex -> cs2;\nleave2: cs2 -> idle2 + mutex;\n"
      "enter3: idle3 + mutex -> cs3;\nleave3: cs3 -> idle3 + mutex;\n",
      f);
  fclose(f);
  std::vector<std::string> names;
  std::vector<Semiflow> got;
  ASSERT_EQ(minimal_semiflows(read_matrix(path, &names), UINT64_MAX, &got), SemiflowStatus::kDone);
  // With one token in mutex and none in the cs places, the last semiflow
  // keeps mutex + cs1 + cs2 + cs3 at 1: at most one cs place is marked.
  std::vector<std::string> expected = {"idle1 + cs1", "mutex + cs1 + cs2 + cs3", "idle2 + cs2",
                                       "idle3 + cs3"};
  EXPECT_EQ(spelled(got, names), expected);
}

TEST(Semiflows, EColiCoreHasItsFiveMoieties) {
  std::vector<std::string> names;
  std::vector<Semiflow> got;
  SparseMatrix n = read_matrix(CRNINV_TEST_NETS_DIR "/e_coli_core.net", &names);
  ASSERT_EQ(minimal_semiflows(n, UINT64_MAX, &got), SemiflowStatus::kDone);
  std::vector<std::string> expected = {"M_coa_c + M_accoa_c + M_succoa_c", "M_nad_c + M_nadh_c",
                                       "M_atp_c + M_adp_c + M_amp_c", "M_q8h2_c + M_q8_c",
                                       "M_nadp_c + M_nadph_c"};
  EXPECT_EQ(spelled(got, names), expected);
}

// Counts from 4ti2-rays on the same matrices (N^T for P, N for T); each
// semiflow is checked to be a non-negative primitive kernel vector too.
TEST(Semiflows, MccNetworksMatchFourTiTwo) {
  struct Case {
    const char* net;
    bool transitions;
    size_t count;
  };
  const Case cases[] = {
      {"Raft-PT-02", true, 36},
      {"DrinkVendingMachine-PT-02", false, 12},
      {"DrinkVendingMachine-PT-02", true, 60},
      {"DBSingleClientW-PT-d0m06", false, 16},
      {"DBSingleClientW-PT-d0m06", true, 9594},
      {"ProductionCell-PT-none", false, 1159},
      {"ProductionCell-PT-none", true, 4},
      {"TokenRing-PT-005", true, 2046},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.net) + (c.transitions ? " T" : " P"));
    std::vector<std::string> names;
    SparseMatrix n =
        read_matrix(std::string(CRNINV_TEST_NETS_DIR "/mcc/") + c.net + ".net", &names);
    if (c.transitions) n = transposed(n);
    std::vector<Semiflow> got;
    ASSERT_EQ(minimal_semiflows(n, UINT64_MAX, &got), SemiflowStatus::kDone);
    EXPECT_EQ(got.size(), c.count);
    for (const Semiflow& s : got) {
      std::map<uint32_t, int64_t> product;  // y^T n, by column
      int64_t g = 0;
      for (size_t k = 0; k < s.support.size(); ++k) {
        int64_t y = s.coefficients.at(k);
        EXPECT_GT(y, 0);
        g = std::gcd(g, y);
        for (uint64_t e = n.start[s.support[k]]; e < n.start[s.support[k] + 1]; ++e) {
          product[n.column[e]] += y * n.value[e];
        }
      }
      EXPECT_EQ(g, 1);
      for (const auto& [column, sum] : product) EXPECT_EQ(sum, 0) << "column " << column;
    }
  }
}

}  // namespace
