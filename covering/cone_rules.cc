#include "covering/cone_rules.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <utility>

namespace crninv {

namespace {

using Entries = std::vector<std::pair<uint32_t, int64_t>>;

// The rules of one column: one sign, or two entries of opposite signs.
void column_rules(ConeRows& cone, uint32_t j) {
  const std::vector<uint32_t>& list = cone.column(j);
  uint32_t positive = 0, negative = 0, up = 0, down = 0;
  for (uint32_t s : list) {
    if (cone.row(s).at(j) > 0) {
      ++positive, up = s;
    } else {
      ++negative, down = s;
    }
  }
  if (list.empty()) return;
  if (positive == 0 || negative == 0) {
    std::vector<uint32_t> zero = list;
    for (uint32_t s : zero) cone.kill(s);
  } else if (positive == 1 && negative == 1) {
    // a y_up = c y_down: y_up = (c/g) w, y_down = (a/g) w.
    int64_t a = cone.row(up).at(j), c = -cone.row(down).at(j);
    int64_t g = std::gcd(a, c);
    cone.join(up, down, c / g, a / g);
  }
}

void column_rules_until_none(ConeRows& cone, std::vector<uint32_t> queue, Monitor& monitor) {
  monitor.new_units();
  std::vector<uint8_t> queued(cone.columns(), 0);
  for (uint32_t j : queue) queued[j] = 1;
  while (!queue.empty()) {
    uint32_t j = queue.back();
    queue.pop_back();
    queued[j] = 0;
    column_rules(cone, j);
    for (uint32_t k : cone.take_touched()) {
      if (!queued[k]) queued[k] = 1, queue.push_back(k);
    }
    monitor.tick();
  }
}

// The entries divided by their gcd, the first made positive; sign: the
// first entry's sign before.
Entries normalized(Entries entries, int& sign) {
  std::sort(entries.begin(), entries.end());
  int64_t g = 0;
  for (const auto& e : entries) g = std::gcd(g, e.second);
  sign = entries.front().second > 0 ? 1 : -1;
  for (auto& e : entries) e.second = e.second / g * sign;
  return entries;
}

uint64_t hash_of(const Entries& entries) {
  uint64_t h = 1469598103934665603ull;
  for (const auto& e : entries) {
    h = (h ^ e.first) * 1099511628211ull;
    h = (h ^ static_cast<uint64_t>(e.second)) * 1099511628211ull;
  }
  return h;
}

// Groups of keys (positions into entries) equal exactly, of two or more.
std::vector<std::vector<uint32_t>> equal_groups(const std::vector<Entries>& keys,
                                                Monitor& monitor) {
  std::vector<std::pair<uint64_t, uint32_t>> hashed;
  for (uint32_t k = 0; k < keys.size(); ++k) {
    if (!keys[k].empty()) hashed.emplace_back(hash_of(keys[k]), k);
  }
  std::sort(hashed.begin(), hashed.end());
  std::vector<std::vector<uint32_t>> groups;
  for (size_t b = 0, e; b < hashed.size(); b = e) {
    for (e = b + 1; e < hashed.size() && hashed[e].first == hashed[b].first;) ++e;
    std::vector<uint32_t> left;
    for (size_t x = b; x < e; ++x) left.push_back(hashed[x].second);
    while (left.size() > 1) {
      std::vector<uint32_t> same{left[0]}, rest;
      for (size_t x = 1; x < left.size(); ++x) {
        (keys[left[x]] == keys[left[0]] ? same : rest).push_back(left[x]);
      }
      if (same.size() > 1) groups.push_back(same);
      left.swap(rest);
    }
    monitor.tick();
  }
  return groups;
}

// Joins the rows that are positive multiples of one another.
bool join_parallel_rows(ConeRows& cone, Monitor& monitor) {
  monitor.new_units();
  std::vector<Entries> keys(cone.slots());
  std::vector<int> signs(cone.slots(), 0);
  for (uint32_t s = 0; s < cone.slots(); ++s) {
    if (!cone.live(s) || cone.row(s).empty()) continue;
    keys[s] = normalized(Entries(cone.row(s).begin(), cone.row(s).end()), signs[s]);
  }
  bool joined = false;
  for (const std::vector<uint32_t>& group : equal_groups(keys, monitor)) {
    for (int sign : {1, -1}) {
      uint32_t held = ConeRows::kNone;
      for (uint32_t s : group) {
        if (signs[s] != sign) continue;
        if (held == ConeRows::kNone) {
          held = s;
        } else {
          uint32_t into = cone.join(held, s, 1, 1);
          if (into == ConeRows::kNone) break;
          held = into, joined = true;
        }
      }
    }
  }
  return joined;
}

// Drops each column that is a multiple of another.
bool drop_repeated_columns(ConeRows& cone, Monitor& monitor) {
  monitor.new_units();
  std::vector<Entries> keys(cone.columns());
  for (uint32_t j = 0; j < cone.columns(); ++j) {
    const std::vector<uint32_t>& list = cone.column(j);
    if (list.empty()) continue;
    Entries entries;
    for (uint32_t s : list) entries.emplace_back(s, cone.row(s).at(j));
    int sign;
    keys[j] = normalized(std::move(entries), sign);
  }
  bool dropped = false;
  for (const std::vector<uint32_t>& group : equal_groups(keys, monitor)) {
    for (size_t x = 1; x < group.size(); ++x) cone.drop_column(group[x]);
    dropped = true;
  }
  return dropped;
}

}  // namespace

void simplify(ConeRows& cone, Monitor& monitor) {
  std::vector<uint32_t> queue(cone.columns());
  std::iota(queue.begin(), queue.end(), 0);
  while (true) {
    column_rules_until_none(cone, std::move(queue), monitor);
    drop_repeated_columns(cone, monitor);
    if (!join_parallel_rows(cone, monitor)) break;
    queue = cone.take_touched();
  }
}

}  // namespace crninv
