#include "covering/cone_rows.h"

#include <cstdlib>
#include <utility>

#include "base/exact.h"

namespace crninv {

namespace {

constexpr Int128 kExactDouble = Int128{1} << 53;

bool exact_in_double(Int128 v) {
  return v < kExactDouble && v > -kExactDouble;
}

}  // namespace

ConeRows::ConeRows(const SparseMatrix& a, const std::vector<uint8_t>& allowed, Monitor& monitor)
    : rows(a.rows),
      lists(a.columns),
      node_of_slot(a.rows, kNone),
      nodes(a.rows),
      is_touched(a.columns, 0),
      seen(a.rows, kNone) {
  monitor.new_units();
  for (uint32_t i = 0; i < a.rows; ++i) {
    monitor.tick();
    if (!allowed[i]) continue;
    node_of_slot[i] = i;
    rows[i].reserve(a.start[i + 1] - a.start[i]);
    a.for_each_in_row(i, [&](uint32_t j, int64_t v) {
      rows[i].emplace(j, v);
      lists[j].push_back(i);
    });
  }
}

const std::vector<uint32_t>& ConeRows::column(uint32_t j) {
  std::vector<uint32_t>& list = lists[j];
  size_t kept = 0;
  for (uint32_t s : list) {
    if (!live(s) || seen[s] == j || rows[s].count(j) == 0) continue;
    seen[s] = j;
    list[kept++] = s;
  }
  list.resize(kept);
  for (uint32_t s : list) seen[s] = kNone;
  return list;
}

void ConeRows::touch(uint32_t j) {
  if (is_touched[j]) return;
  is_touched[j] = 1;
  touched.push_back(j);
}

void ConeRows::kill(uint32_t slot) {
  for (const auto& entry : rows[slot]) touch(entry.first);
  Row().swap(rows[slot]);
  node_of_slot[slot] = kNone;
}

uint32_t ConeRows::join(uint32_t i, uint32_t k, int64_t p, int64_t q) {
  bool i_longer = rows[i].size() >= rows[k].size();
  uint32_t big = i_longer ? i : k, small = i_longer ? k : i;
  int64_t big_factor = i_longer ? p : q, small_factor = i_longer ? q : p;
  Row& kept = rows[big];
  const Row& added = rows[small];
  // Every new coefficient checked before anything changes.
  if (big_factor != 1) {
    for (const auto& entry : kept) {
      if (!exact_in_double(Int128{entry.second} * big_factor)) return kNone;
    }
  }
  for (const auto& entry : added) {
    auto found = kept.find(entry.first);
    Int128 v = Int128{entry.second} * small_factor;
    if (found != kept.end()) v += Int128{found->second} * big_factor;
    if (!exact_in_double(v)) return kNone;
  }
  if (big_factor != 1) {
    for (auto& entry : kept) entry.second *= big_factor;
  }
  for (const auto& entry : added) {
    touch(entry.first);
    auto found = kept.find(entry.first);
    int64_t v = entry.second * small_factor;
    if (found == kept.end()) {
      kept.emplace(entry.first, v);
      lists[entry.first].push_back(big);
    } else if (found->second + v == 0) {
      kept.erase(found);
    } else {
      found->second += v;
    }
  }
  Row().swap(rows[small]);
  joins.push_back({node_of_slot[i], node_of_slot[k], nodes, p, q});
  node_of_slot[big] = nodes++;
  node_of_slot[small] = kNone;
  return big;
}

void ConeRows::drop_column(uint32_t j) {
  for (uint32_t s : column(j)) rows[s].erase(j);
  std::vector<uint32_t>().swap(lists[j]);
}

std::vector<uint32_t> ConeRows::take_touched() {
  std::vector<uint32_t> out;
  out.swap(touched);
  for (uint32_t j : out) is_touched[j] = 0;
  return out;
}

std::vector<mpz_class> ConeRows::read_back(const std::vector<mpz_class>& slot_values) const {
  std::vector<mpz_class> value(nodes);
  for (uint32_t s = 0; s < slots(); ++s) {
    if (live(s)) value[node_of_slot[s]] = slot_values[s];
  }
  for (size_t e = joins.size(); e-- > 0;) {
    const Join& join = joins[e];
    value[join.i] = value[join.w] * static_cast<long>(join.p);
    value[join.k] = value[join.w] * static_cast<long>(join.q);
  }
  value.resize(slots());
  return value;
}

uint64_t ConeRows::bytes(const SparseMatrix& a) {
  return 72 * a.nonzeros() + 96 * (uint64_t{a.rows} + a.columns);
}

}  // namespace crninv
