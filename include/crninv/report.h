// The results as the crninv program prints them: the report's sections
// and the JSON document (man crninv describes both), written in pieces to
// a function the caller gives, so that a report of millions of terms needs
// no copy of its own.
#ifndef CRNINV_REPORT_H_
#define CRNINV_REPORT_H_

#include <functional>
#include <string>
#include <string_view>

#include "crninv/invariants.h"
#include "crninv/moieties.h"
#include "crninv/network.h"
#include "crninv/semiflows.h"

namespace crninv {

// Takes the next piece of the text.
using Write = std::function<void(std::string_view)>;

// "Flows (== constant):", "Inequalities (remove reactions, <= constant):"
// and "Irreducible:", each row a tab and its terms; for the reactions,
// "Flows (no net change):" and its like.
void write_report(const Network& network, const Invariants& invariants, const Write& write);
// {"invariants_of": ..., "species": [...], "reactions": [...], "flows": [...], ...}
void write_json(const Network& network, const Invariants& invariants, const Write& write);

// "Semiflows (minimal, non-negative, == constant):" (or "..., no net
// change):" for the reactions), then a tab and the terms of each.
void write_semiflows(const Network& network, const Semiflows& semiflows, const Write& write);
void write_semiflows_json(const Network& network, const Semiflows& semiflows, const Write& write);

// "Conservation laws (reduced row-echelon form, == constant):", each law a
// tab and its terms; "Dependent species ...:" and "Independent species:",
// a name a line; "Link matrix ...:", each dependent species' row of L as
// "\tA: -1/2 B +1 C ". The JSON document: "laws", "dependent",
// "independent" and "link_matrix" after the species and the reactions.
void write_moieties(const Network& network, const ConservedMoieties& moieties, const Write& write);
void write_moieties_json(const Network& network, const ConservedMoieties& moieties,
                         const Write& write);

// The text whole, for callers that want a string.
template <typename Result>
std::string report_text(const Network& network, const Result& result,
                        void (*writer)(const Network&, const Result&, const Write&)) {
  std::string text;
  writer(network, result, [&](std::string_view piece) { text.append(piece); });
  return text;
}

}  // namespace crninv

#endif  // CRNINV_REPORT_H_
