// A reaction network: the names of its species and reactions, each
// reaction's two sides (its complexes) as written, and the stoichiometric
// matrix N of net changes. Built by reading the text format
// (crninv/text_format.h), by the converters (crninv/sbml.h,
// crninv/pnml.h), or from a matrix and names given by the caller.
//
// A Network is a plain value: copyable, movable, and never changed by the
// analyses, which take it by const reference and may run on one network
// in several threads at once.
#ifndef CRNINV_INCLUDE_CRNINV_NETWORK_H_
#define CRNINV_INCLUDE_CRNINV_NETWORK_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "crninv/sparse_matrix.h"

namespace crninv {

// So many of one species on one side of a reaction.
struct Term {
  uint32_t species;     // index into Network::species()
  int64_t coefficient;  // 0 or more; 0 only where a model writes it so
};

// The terms of one side of a reaction, in the order written; a species may
// stand twice on a side, and on both sides.
struct Side {
  const Term* first = nullptr;
  const Term* last = nullptr;
  const Term* begin() const { return first; }
  const Term* end() const { return last; }
  size_t size() const { return static_cast<size_t>(last - first); }
  bool empty() const { return first == last; }
};

class Network {
 public:
  Network() = default;
  // From N (rows species, columns reactions) and the names of its rows and
  // columns: each reaction consumes the species of its negative entries
  // and produces those of its positive ones. Throws InvalidArgument when
  // the names do not match N's shape or N is not well formed.
  Network(SparseMatrix stoichiometry, std::vector<std::string> species,
          std::vector<std::string> reactions);

  uint32_t species_count() const { return static_cast<uint32_t>(species_names.size()); }
  uint32_t reaction_count() const { return static_cast<uint32_t>(reaction_names.size()); }
  // By index: species in order of first appearance in a text, reactions in
  // file order. Unlabelled reactions of a text are "(reaction N)", from 1.
  const std::vector<std::string>& species() const { return species_names; }
  const std::vector<std::string>& reactions() const { return reaction_names; }

  Side reactants(uint32_t reaction) const { return side(2 * reaction); }
  Side products(uint32_t reaction) const { return side(2 * reaction + 1); }

  // N: row k is species k, column j reaction j, the entry its net change.
  const SparseMatrix& stoichiometry() const { return matrix; }

 private:
  friend class NetworkBuilder;
  Side side(uint64_t s) const {
    return {terms.data() + side_start[s], terms.data() + side_start[s + 1]};
  }

  std::vector<std::string> species_names;
  std::vector<std::string> reaction_names;
  // Side s (2j: reactants of j, 2j + 1: its products) holds
  // terms[side_start[s], side_start[s + 1]).
  std::vector<uint64_t> side_start{0};
  std::vector<Term> terms;
  SparseMatrix matrix;
};

// Builds a Network one term at a time, as a reader meets them, and sums
// the net changes on the way. The terms of a reaction come together: after
// a term of reaction j, only terms of j or of a later reaction.
class NetworkBuilder {
 public:
  // A net change outside the signed range of this many bits (32 or 64)
  // throws Overflow with kAdditionOverflow, as soon as the sum is formed.
  explicit NetworkBuilder(int bits = 64);

  void add_term(uint32_t reaction, uint32_t species, int64_t coefficient, bool product);

  // The network with these names: one per species index used and one per
  // reaction (reactions without terms included). Uses the builder up.
  Network finish(std::vector<std::string> species, std::vector<std::string> reactions);

 private:
  void close_reactions_to(uint32_t reaction);

  int64_t lowest, highest;  // of a net change
  Network network;
  uint32_t open = 0;  // the reaction whose terms come now
  // The open reaction's sides, and its net changes with where each species
  // stands in them (valid when its stamp is that of the open reaction).
  std::vector<Term> left, right;
  std::vector<std::pair<uint32_t, int64_t>> net;
  std::vector<uint32_t> slot, stamp;
  // N by reaction, completed reaction by reaction.
  SparseMatrix by_reaction;
};

}  // namespace crninv

#endif  // CRNINV_INCLUDE_CRNINV_NETWORK_H_
