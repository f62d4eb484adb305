#include "crninv/network.h"

#include <algorithm>
#include <utility>

#include "crninv/errors.h"

namespace crninv {

SparseMatrix transposed(const SparseMatrix& a) {
  SparseMatrix t;
  t.rows = a.columns;
  t.columns = a.rows;
  t.start.assign(uint64_t{a.columns} + 1, 0);
  for (uint32_t j : a.column) ++t.start[j + 1];
  for (uint32_t j = 0; j < a.columns; ++j) t.start[j + 1] += t.start[j];
  t.column.resize(a.column.size());
  t.value.resize(a.value.size());
  std::vector<uint64_t> next(t.start.begin(), t.start.end() - 1);
  // Rows in increasing order keep each row of the transpose sorted.
  for (uint32_t i = 0; i < a.rows; ++i) {
    for (uint64_t e = a.start[i]; e < a.start[i + 1]; ++e) {
      uint64_t k = next[a.column[e]]++;
      t.column[k] = i;
      t.value[k] = a.value[e];
    }
  }
  return t;
}

namespace {

// Whether a is a well-formed matrix: start of rows + 1 entries rising from
// 0 to the entries' count, columns in range and increasing, values nonzero.
bool well_formed(const SparseMatrix& a) {
  if (a.start.size() != uint64_t{a.rows} + 1 || a.start[0] != 0 ||
      a.start.back() != a.column.size() || a.value.size() != a.column.size()) {
    return false;
  }
  for (uint32_t i = 0; i < a.rows; ++i) {
    if (a.start[i] > a.start[i + 1]) return false;
    for (uint64_t e = a.start[i]; e < a.start[i + 1]; ++e) {
      if (a.column[e] >= a.columns || a.value[e] == 0) return false;
      if (e > a.start[i] && a.column[e] <= a.column[e - 1]) return false;
    }
  }
  return true;
}

}  // namespace

Network::Network(SparseMatrix stoichiometry, std::vector<std::string> species,
                 std::vector<std::string> reactions) {
  if (!well_formed(stoichiometry)) throw InvalidArgument("the stoichiometric matrix is malformed");
  if (species.size() != stoichiometry.rows || reactions.size() != stoichiometry.columns) {
    throw InvalidArgument("the names do not match the matrix: " + std::to_string(species.size()) +
                          " species and " + std::to_string(reactions.size()) +
                          " reactions for a matrix of " + std::to_string(stoichiometry.rows) +
                          " by " + std::to_string(stoichiometry.columns));
  }
  SparseMatrix by_reaction = transposed(stoichiometry);
  side_start.reserve(2 * uint64_t{by_reaction.rows} + 1);
  terms.reserve(by_reaction.nonzeros());
  for (uint32_t j = 0; j < by_reaction.rows; ++j) {
    for (int direction : {-1, 1}) {
      by_reaction.for_each_in_row(j, [&](uint32_t k, int64_t v) {
        if ((v > 0) == (direction > 0)) {
          // The magnitude of INT64_MIN has no 64-bit value.
          if (v == INT64_MIN) throw InvalidArgument("an entry of N is -2^63");
          terms.push_back({k, v > 0 ? v : -v});
        }
      });
      side_start.push_back(terms.size());
    }
  }
  species_names = std::move(species);
  reaction_names = std::move(reactions);
  matrix = std::move(stoichiometry);
}

NetworkBuilder::NetworkBuilder(int bits)
    : lowest(bits >= 64 ? INT64_MIN : -(int64_t{1} << (bits - 1))),
      highest(bits >= 64 ? INT64_MAX : (int64_t{1} << (bits - 1)) - 1) {}

void NetworkBuilder::add_term(uint32_t reaction, uint32_t species, int64_t coefficient,
                              bool product) {
  if (reaction < open) throw InvalidArgument("the terms of a reaction must come together");
  if (reaction != open) close_reactions_to(reaction);
  (product ? right : left).push_back({species, coefficient});
  if (species >= slot.size()) {
    slot.resize(species + 1, 0);
    stamp.resize(species + 1, UINT32_MAX);
  }
  int64_t change = product ? coefficient : -coefficient;
  if (stamp[species] != reaction) {
    stamp[species] = reaction;
    slot[species] = static_cast<uint32_t>(net.size());
    net.emplace_back(species, 0);
  }
  int64_t& sum = net[slot[species]].second;
  int64_t result;
  if (__builtin_add_overflow(sum, change, &result) || result < lowest || result > highest) {
    throw Overflow(kAdditionOverflow);
  }
  sum = result;
}

// Ends every reaction before the given one: their sides and their column
// of N are complete.
void NetworkBuilder::close_reactions_to(uint32_t reaction) {
  for (; open < reaction; ++open) {
    Network& n = network;
    n.terms.insert(n.terms.end(), left.begin(), left.end());
    n.side_start.push_back(n.terms.size());
    n.terms.insert(n.terms.end(), right.begin(), right.end());
    n.side_start.push_back(n.terms.size());
    left.clear();
    right.clear();
    // In the order met: the transpose puts each species' row in order.
    for (const auto& [species, change] : net) {
      if (change == 0) continue;
      by_reaction.column.push_back(species);
      by_reaction.value.push_back(change);
    }
    by_reaction.end_row();
    net.clear();
  }
}

Network NetworkBuilder::finish(std::vector<std::string> species,
                               std::vector<std::string> reactions) {
  uint32_t R = static_cast<uint32_t>(reactions.size());
  if (open >= R && !(left.empty() && right.empty())) {
    throw InvalidArgument("a term of reaction " + std::to_string(open) + " beyond the " +
                          std::to_string(R) + " reactions named");
  }
  close_reactions_to(R);
  if (slot.size() > species.size()) {
    throw InvalidArgument("a term of species " + std::to_string(slot.size() - 1) + " beyond the " +
                          std::to_string(species.size()) + " species named");
  }
  by_reaction.columns = static_cast<uint32_t>(species.size());
  Network result = std::move(network);
  result.matrix = transposed(by_reaction);
  result.species_names = std::move(species);
  result.reaction_names = std::move(reactions);
  return result;
}

}  // namespace crninv
