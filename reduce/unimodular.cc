#include "reduce/unimodular.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <utility>
#include <vector>

namespace crninv {

namespace {

using Entries = std::vector<std::pair<uint32_t, int32_t>>;

// The nonzero entries of the matrix by line, for the lines of one side
// (rows or columns), with the lines that are set aside marked gone.
struct Lines {
  std::vector<Entries> entries;  // (index across, value) pairs
  std::vector<char> gone;
  std::vector<uint32_t> live;  // entries left in the line
};

// The entries of a line that are left, with the first one positive.
Entries live_entries(const Lines& lines, const Lines& across, uint32_t line) {
  Entries key;
  for (const auto& entry : lines.entries[line]) {
    if (!across.gone[entry.first]) key.push_back(entry);
  }
  if (!key.empty() && key[0].second < 0) {
    for (auto& entry : key) entry.second = -entry.second;
  }
  return key;
}

struct EntriesHash {
  size_t operator()(const Entries& e) const {
    size_t h = e.size();
    for (const auto& [index, value] : e) h = h * 1000003u ^ (index * 2u + (value < 0));
    return h;
  }
};

// Sets aside every line with at most one entry left, and those that this
// leaves with at most one, and so on: a queue keeps it linear.
void peel(Lines& rows, Lines& columns) {
  std::vector<std::pair<Lines*, uint32_t>> queue;
  for (Lines* side : {&rows, &columns}) {
    for (uint32_t line = 0; line < side->entries.size(); ++line) {
      if (!side->gone[line] && side->live[line] <= 1) queue.emplace_back(side, line);
    }
  }
  while (!queue.empty()) {
    auto [side, line] = queue.back();
    queue.pop_back();
    if (side->gone[line]) continue;
    Lines* across = side == &rows ? &columns : &rows;
    side->gone[line] = 1;
    for (const auto& entry : side->entries[line]) {
      uint32_t other = entry.first;
      if (across->gone[other]) continue;
      if (--across->live[other] <= 1) queue.emplace_back(across, other);
    }
  }
}

// Sets aside the lines that repeat an earlier one, or its negation, in what
// is left; true when there was one.
bool set_aside_repeats(Lines& lines, Lines& across) {
  std::unordered_map<Entries, uint32_t, EntriesHash> seen;
  bool any = false;
  for (uint32_t line = 0; line < lines.entries.size(); ++line) {
    if (lines.gone[line]) continue;
    if (seen.emplace(live_entries(lines, across, line), line).second) continue;
    lines.gone[line] = 1;
    for (const auto& entry : lines.entries[line]) {
      if (!across.gone[entry.first]) --across.live[entry.first];
    }
    any = true;
  }
  return any;
}

// Sets aside the lines that change no determinant's magnitude, until none
// is left (or a few rounds of repeats have passed: this is only a test).
void set_aside_simple_lines(Lines& rows, Lines& columns) {
  peel(rows, columns);
  for (int round = 0; round < 8; ++round) {
    bool rows_repeat = set_aside_repeats(rows, columns);
    bool columns_repeat = set_aside_repeats(columns, rows);
    if (!rows_repeat && !columns_repeat) return;
    peel(rows, columns);
  }
}

// The two-colouring of Heller and Tompkins across the lines of `across`,
// where every live line of `lines` holds at most two live entries.
bool two_colourable(const Lines& lines, const Lines& across) {
  uint32_t n = static_cast<uint32_t>(across.entries.size());
  std::vector<uint32_t> parent(n);
  std::iota(parent.begin(), parent.end(), 0);
  std::vector<uint8_t> parity(n, 0);  // colour relative to the parent
  auto find = [&](uint32_t x, uint8_t& p) {
    p = 0;
    while (parent[x] != x) {
      p ^= parity[x];
      x = parent[x];
    }
    return x;
  };
  for (uint32_t line = 0; line < lines.entries.size(); ++line) {
    if (lines.gone[line]) continue;
    if (lines.live[line] > 2) return false;
    Entries pair = live_entries(lines, across, line);
    if (pair.size() < 2) continue;
    // Same signs: different colours; opposite signs: the same colour.
    uint8_t want = pair[0].second == pair[1].second ? 1 : 0;
    uint8_t pa, pb;
    uint32_t ra = find(pair[0].first, pa), rb = find(pair[1].first, pb);
    if (ra == rb) {
      if ((pa ^ pb) != want) return false;
    } else {
      parent[ra] = rb;
      parity[ra] = static_cast<uint8_t>(pa ^ pb ^ want);
    }
  }
  return true;
}

}  // namespace

bool provably_unimodular(const SparseMatrix& a) {
  Lines by_row, by_column;
  by_row.entries.resize(a.rows);
  by_column.entries.resize(a.columns);
  for (uint32_t k = 0; k < a.rows; ++k) {
    bool unit = true;
    a.for_each_in_row(k, [&](uint32_t j, int64_t value) {
      if (value != 1 && value != -1) unit = false;
      by_row.entries[k].emplace_back(j, static_cast<int32_t>(value));
      by_column.entries[j].emplace_back(k, static_cast<int32_t>(value));
    });
    if (!unit) return false;
  }
  for (Lines* lines : {&by_row, &by_column}) {
    lines->gone.assign(lines->entries.size(), 0);
    lines->live.resize(lines->entries.size());
    for (size_t i = 0; i < lines->entries.size(); ++i) {
      lines->live[i] = static_cast<uint32_t>(lines->entries[i].size());
    }
  }
  set_aside_simple_lines(by_row, by_column);
  return two_colourable(by_column, by_row) || two_colourable(by_row, by_column);
}

}  // namespace crninv
