#include "structure/exact_rank.h"

#include <gmpxx.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <queue>
#include <utility>

#include "base/monitor.h"
#include "crninv/errors.h"

namespace crninv {

namespace {

// A value that 64 bits cannot hold: the elimination starts again on GMP.
struct NeedsWider {};

// Checked 64-bit arithmetic. INT64_MIN counts as an overflow, so that every
// value has a magnitude.
struct Small {
  using Value = int64_t;
  static Value from(int64_t v) {
    if (v == INT64_MIN) throw NeedsWider();
    return v;
  }
  // f x - g y.
  static Value scaled_difference(Value f, Value x, Value g, Value y) {
    Value p, q, r;
    if (__builtin_mul_overflow(f, x, &p) || __builtin_mul_overflow(g, y, &q) ||
        __builtin_sub_overflow(p, q, &r) || r == INT64_MIN) {
      throw NeedsWider();
    }
    return r;
  }
  static Value gcd(Value a, Value b) { return std::gcd(a, b); }
  static Value divided(Value a, Value d) { return a / d; }
  static bool is_zero(Value v) { return v == 0; }
  static bool is_one(Value v) { return v == 1 || v == -1; }
};

struct Wide {
  using Value = mpz_class;
  static_assert(sizeof(long) == sizeof(int64_t), "GMP's signed long holds an entry of N");
  static Value from(int64_t v) { return Value(static_cast<long>(v)); }
  static Value scaled_difference(const Value& f, const Value& x, const Value& g, const Value& y) {
    return f * x - g * y;
  }
  static Value gcd(const Value& a, const Value& b) {
    Value result;
    mpz_gcd(result.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
    return result;
  }
  static Value divided(const Value& a, const Value& d) {
    Value result;
    mpz_divexact(result.get_mpz_t(), a.get_mpz_t(), d.get_mpz_t());
    return result;
  }
  static bool is_zero(const Value& v) { return sgn(v) == 0; }
  static bool is_one(const Value& v) { return mpz_cmpabs_ui(v.get_mpz_t(), 1) == 0; }
};

using InputRow = std::vector<std::pair<uint32_t, int64_t>>;  // local column, value

template <typename A>
class Elimination {
 public:
  using Value = typename A::Value;
  struct Entry {
    uint32_t column;
    Value value;
  };
  using Vector = std::vector<Entry>;

  Elimination(const std::vector<InputRow>& input, uint32_t columns, uint64_t budget,
              Monitor& monitor)
      : budget(budget), monitor(monitor), count(columns, 0), holders(columns) {
    rows.resize(input.size());
    alive.assign(input.size(), 1);
    mark.assign(input.size(), 0);
    for (uint32_t r = 0; r < input.size(); ++r) {
      for (auto [column, value] : input[r]) {
        rows[r].push_back({column, A::from(value)});
        ++count[column];
        holders[column].push_back(r);
      }
      held += input[r].size();
      if (rows[r].empty()) retire(r);
    }
    charge();
  }

  uint32_t run() {
    using Key = std::pair<uint32_t, uint32_t>;  // rows holding a column, the column
    std::priority_queue<Key, std::vector<Key>, std::greater<Key>> next;
    for (uint32_t c = 0; c < count.size(); ++c) {
      if (count[c] > 0) next.emplace(count[c], c);
    }
    uint32_t rank = 0;
    std::vector<uint32_t> live;
    while (!next.empty()) {
      auto [k, c] = next.top();
      next.pop();
      if (k != count[c] || k == 0) continue;  // stale: the count changed since
      holding(c, live);
      uint32_t pivot = choose_pivot(live, c);
      for (uint32_t r : live) {
        if (r != pivot) eliminate(r, pivot, c, next);
      }
      for (const Entry& e : rows[pivot]) {
        if (--count[e.column] > 0) next.emplace(count[e.column], e.column);
      }
      holders[c].clear();
      held -= rows[pivot].size();
      Vector().swap(rows[pivot]);
      retire(pivot);
      ++rank;
      ++monitor.state().found;
    }
    return rank;
  }

 private:
  // The live rows that hold column c: its list of holders may name a row
  // twice, or one that has lost the column or left.
  void holding(uint32_t c, std::vector<uint32_t>& live) {
    live.clear();
    ++epoch;
    for (uint32_t r : holders[c]) {
      if (alive[r] && mark[r] != epoch && find(rows[r], c) != nullptr) {
        mark[r] = epoch;
        live.push_back(r);
      }
    }
  }

  static const Value* find(const Vector& row, uint32_t c) {
    auto it = std::lower_bound(row.begin(), row.end(), c,
                               [](const Entry& e, uint32_t column) { return e.column < column; });
    return it != row.end() && it->column == c ? &it->value : nullptr;
  }

  // The shortest row, and among those one whose entry is a unit, so that
  // the others need not be scaled.
  uint32_t choose_pivot(const std::vector<uint32_t>& live, uint32_t c) const {
    uint32_t best = live[0];
    for (uint32_t r : live) {
      size_t length = rows[r].size(), best_length = rows[best].size();
      if (length < best_length || (length == best_length && !A::is_one(*find(rows[best], c)) &&
                                   A::is_one(*find(rows[r], c)))) {
        best = r;
      }
    }
    return best;
  }

  // Row r becomes b x - a y (x row r, y the pivot's, a and b their entries
  // in column c over their gcd), divided by its content: column c leaves it.
  template <typename Queue>
  void eliminate(uint32_t r, uint32_t pivot, uint32_t c, Queue& next) {
    const Vector& x = rows[r];
    const Vector& y = rows[pivot];
    const Value& a = *find(x, c);
    const Value& b = *find(y, c);
    Value g = A::gcd(a, b);
    Value fx = A::divided(b, g), fy = A::divided(a, g), zero = A::from(0);
    Vector out;
    out.reserve(x.size() + y.size());
    size_t i = 0, j = 0;
    while (i < x.size() || j < y.size()) {
      if (j == y.size() || (i < x.size() && x[i].column < y[j].column)) {
        out.push_back({x[i].column, A::scaled_difference(fx, x[i].value, zero, zero)});
        ++i;
      } else if (i == x.size() || y[j].column < x[i].column) {
        uint32_t column = y[j].column;
        out.push_back({column, A::scaled_difference(zero, zero, fy, y[j].value)});
        holders[column].push_back(r);
        next.emplace(++count[column], column);
        ++j;
      } else {
        Value v = A::scaled_difference(fx, x[i].value, fy, y[j].value);
        if (A::is_zero(v)) {
          uint32_t column = x[i].column;
          if (--count[column] > 0 && column != c) next.emplace(count[column], column);
        } else {
          out.push_back({x[i].column, std::move(v)});
        }
        ++i;
        ++j;
      }
    }
    divide_by_content(out);
    held = held + out.size() - x.size();
    rows[r].swap(out);
    if (rows[r].empty()) retire(r);
    charge();
    monitor.tick();
  }

  static void divide_by_content(Vector& row) {
    if (row.empty()) return;
    Value g = row[0].value;
    for (size_t i = 1; i < row.size() && !A::is_one(g); ++i) g = A::gcd(g, row[i].value);
    if (A::is_one(g)) return;
    for (Entry& e : row) e.value = A::divided(e.value, g);
  }

  void retire(uint32_t r) {
    alive[r] = 0;
    ++monitor.state().step;
  }

  // Entries held, with their place in the lists of holders.
  void charge() const {
    if (held > budget / (sizeof(Entry) + sizeof(uint32_t))) throw OutOfMemory();
  }

  uint64_t budget;
  Monitor& monitor;
  std::vector<Vector> rows;
  std::vector<char> alive;
  std::vector<uint32_t> mark;
  uint32_t epoch = 0;
  std::vector<uint32_t> count;                 // live rows holding each column
  std::vector<std::vector<uint32_t>> holders;  // rows that held each column, at some time
  uint64_t held = 0;                           // entries in live rows
};

}  // namespace

RankWorkspace::RankWorkspace(const SparseMatrix& a, uint64_t memory_budget)
    : a(a), budget(memory_budget), local(a.columns), stamp(a.columns, 0) {}

uint32_t RankWorkspace::rank(const std::vector<uint32_t>& rows, Monitor& monitor) {
  if (++calls == 0) {
    std::fill(stamp.begin(), stamp.end(), 0);
    calls = 1;
  }
  // The columns these rows hold, numbered in a's order.
  std::vector<uint32_t> columns;
  for (uint32_t i : rows) {
    a.for_each_in_row(i, [&](uint32_t c, int64_t) {
      if (stamp[c] != calls) {
        stamp[c] = calls;
        columns.push_back(c);
      }
    });
  }
  std::sort(columns.begin(), columns.end());
  for (uint32_t k = 0; k < columns.size(); ++k) local[columns[k]] = k;
  std::vector<InputRow> input(rows.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    a.for_each_in_row(rows[r], [&](uint32_t c, int64_t v) { input[r].emplace_back(local[c], v); });
  }
  auto width = static_cast<uint32_t>(columns.size());
  Progress before = monitor.state();
  try {
    return Elimination<Small>(input, width, budget, monitor).run();
  } catch (const NeedsWider&) {
    monitor.state() = before;
    return Elimination<Wide>(input, width, budget, monitor).run();
  }
}

}  // namespace crninv
