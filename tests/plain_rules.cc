#include "tests/plain_rules.h"

#include <numeric>
#include <utility>

namespace {

const char kMultiply[] = "integer overflow on multiply";
const char kAddition[] = "Integer overflow on addition";

int64_t magnitude(int64_t x) {
  return x < 0 ? -x : x;
}

}  // namespace

std::optional<std::string> plain_normalize(PlainRow& x) {
  int64_t g = 0, s = 0;
  for (int64_t e : x) {
    if (e == 0) continue;
    if (s == 0) s = e < 0 ? -1 : 1;
    g = std::gcd(g, magnitude(e));
  }
  if (g == 0 || g * s == 1) return std::nullopt;
  for (int64_t& e : x) {
    // -2147483648 cannot be negated, though it can be divided.
    if (g * s == -1 && e == INT32_MIN) return kMultiply;
    e /= g * s;
  }
  return std::nullopt;
}

std::optional<std::string> plain_eliminate(PlainRow& x, const PlainRow& pivot, uint32_t j) {
  int64_t t = j < x.size() ? x[j] : 0, p = j < pivot.size() ? pivot[j] : 0;
  if (t == 0 || p == 0) return std::nullopt;
  int64_t l = std::lcm(magnitude(t), magnitude(p));
  if (l > INT32_MAX) return kMultiply;
  int64_t c = (p > 0 ? -1 : 1) * (l / magnitude(t));
  int64_t b = (t < 0 ? -1 : 1) * (l / magnitude(p));
  for (int64_t e : x) {
    if (magnitude(e) * magnitude(c) > INT32_MAX) return kMultiply;
  }
  for (int64_t e : pivot) {
    if (magnitude(e) * magnitude(b) > INT32_MAX) return kMultiply;
  }
  for (size_t i = 0; i < x.size(); ++i) {
    x[i] = c * x[i] + b * (i < pivot.size() ? pivot[i] : 0);
    if (x[i] > INT32_MAX || x[i] < INT32_MIN) return kAddition;
  }
  return plain_normalize(x);
}

std::optional<std::string> plain_reduce(std::vector<PlainRow>& rows, uint32_t n) {
  uint32_t count = static_cast<uint32_t>(rows.size()), i = 0;
  for (uint32_t j = 0; j < n && i < count; ++j) {
    uint32_t best = count;
    for (uint32_t k = i; k < count; ++k) {
      if (rows[k][j] != 0 && (best == count || magnitude(rows[k][j]) < magnitude(rows[best][j])))
        best = k;
    }
    if (best == count) continue;
    std::swap(rows[i], rows[best]);
    for (uint32_t k = 0; k < count; ++k) {
      if (k == i) continue;
      if (auto message = plain_eliminate(rows[k], rows[i], j)) return message;
    }
    ++i;
  }
  for (auto& row : rows) {
    if (auto message = plain_normalize(row)) return message;
  }
  return std::nullopt;
}

uint32_t plain_rank(std::vector<PlainRow> m) {
  const int64_t p = 2147483647;
  auto power = [&](int64_t base, int64_t e) {
    int64_t result = 1;
    for (base %= p; e > 0; e >>= 1, base = base * base % p) {
      if (e & 1) result = result * base % p;
    }
    return result;
  };
  for (auto& row : m) {
    for (auto& x : row) x = ((x % p) + p) % p;
  }
  uint32_t rank = 0;
  size_t columns = m.empty() ? 0 : m[0].size();
  for (size_t j = 0; j < columns && rank < m.size(); ++j) {
    size_t k = rank;
    while (k < m.size() && m[k][j] == 0) ++k;
    if (k == m.size()) continue;
    std::swap(m[k], m[rank]);
    int64_t inverse = power(m[rank][j], p - 2);
    for (size_t other = rank + 1; other < m.size(); ++other) {
      int64_t f = m[other][j] * inverse % p;
      for (size_t i = j; i < columns; ++i) {
        m[other][i] = ((m[other][i] - f * m[rank][i]) % p + p) % p;
      }
    }
    ++rank;
  }
  return rank;
}
