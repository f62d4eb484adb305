// Minimal siphons and traps of a reaction network.
//
// A reaction consumes the species of its reactant side and produces those
// of its product side, each with a positive coefficient: the arcs of the
// species-reaction graph of Angeli, De Leenheer and Sontag (2007, "A Petri
// net approach to the study of persistence in chemical reaction networks",
// Math. Biosci. 210:598-618), and the pre- and post-sets of a Petri net's
// transition. The sides count, not the net change: a species on both sides
// of a reaction (a catalyst, a self-loop) is consumed and produced by it.
//
// A siphon is a set of species such that every reaction that produces one
// of them consumes one of them: once empty, it stays empty. A trap is a set
// such that every reaction that consumes one of them produces one of them:
// once marked, it stays marked. A nonempty siphon (trap) is minimal when no
// other nonempty siphon (trap) lies strictly inside it.
#ifndef CRNINV_SIPHONS_H_
#define CRNINV_SIPHONS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "crninv/control.h"
#include "crninv/network.h"

namespace crninv {

struct SiphonOptions {
  enum Kind { kSiphons, kTraps };
  Kind kind = kSiphons;
  // More minimal sets than this throws TooManySiphons.
  uint64_t max_count = UINT64_MAX;
  // Solvers at work at once on a part that yields many sets: 0 for as
  // many as the machine has cores. The sets found do not depend on it.
  unsigned threads = 0;
};

struct Siphons {
  SiphonOptions::Kind kind = SiphonOptions::kSiphons;
  // Every minimal nonempty siphon (trap) once: its species indices in
  // ascending order; the sets in lexicographic order of these lists, a list
  // before its own extensions.
  std::vector<std::vector<uint32_t>> sets;
};

// The minimal siphons or traps, enumerated with a SAT solver (CaDiCaL): a
// solution is shrunk to a minimal set, which a clause then excludes with
// all its supersets, until no nonempty siphon is left. Each strongly
// connected part of the species graph inside the largest siphon, where
// every minimal siphon lies, has a solver of its own; a part whose
// enumeration runs past two seconds and a thousand sets is shared by up to
// options.threads solvers, each on a thread of its own (the callback is
// called on the caller's thread only). Progress is reported at stage
// kSiphons (step: solver calls and parts of a single species checked;
// found: sets so far).
// Throws TooManySiphons, OutOfMemory or Cancelled.
Siphons siphons(const Network& network, const SiphonOptions& options, const Control& control);

// Whether species form a siphon (a trap), by the definition above.
bool is_siphon(const Network& network, const std::vector<uint32_t>& species,
               SiphonOptions::Kind kind);

// The text: a heading, "Siphons (minimal, nonempty):" or "Traps (minimal,
// nonempty):", then a line per set: a tab and its species names in byte
// order between braces, "{A, B}". The lines follow the order of the names.
std::string siphons_text(const Network& network, const Siphons& siphons);

// The order of the text, as positions into siphons.sets.
std::vector<uint32_t> text_order(const Network& network, const Siphons& siphons);

// One set as the text writes it: "{A, B}".
std::string set_text(const Network& network, const std::vector<uint32_t>& species);

}  // namespace crninv

#endif  // CRNINV_SIPHONS_H_
