// What the words of the PNML dialects mean: the net types and arc kinds
// that the standard, PIPE, TAPAAL, WoPeD/LoLA and ProM/pm4py write, and
// the texts of arc weights.
#ifndef CRNINV_CONVERT_PNML_DIALECT_H_
#define CRNINV_CONVERT_PNML_DIALECT_H_

#include <cstdint>
#include <string>

namespace crninv::convert {

enum class NetType {
  PLACE_TRANSITION,  // ptnet (standard), "P/T net" (PIPE, TAPAAL), ptNetb (2004-5), pnmlcoremodel
  COLOURED,          // symmetric and high-level nets: tokens of several colours
  UNKNOWN,
};
NetType classify_net_type(const std::string& type);

enum class ArcKind {
  MOVING,      // normal; TAPAAL's timed and transport arcs move tokens too
  NON_MOVING,  // inhibitor, read, test: the transition only looks at the place
  RESET,       // empties its place: an effect that depends on the marking
  UNKNOWN,
};
// kind as written in <type value=...>, <arctype><text>, or TAPAAL's type
// attribute; "" is a normal arc.
ArcKind classify_arc_kind(const std::string& kind);

struct ArcWeight {
  int32_t value = 0;      // from 1 to 2147483647 when error is empty
  std::string error;      // why the text is no weight, to follow "arc weight"
  bool coloured = false;  // the text gives tokens of more than one class
};
// A weight as written: "2" (standard, TAPAAL's attribute) or PIPE's
// "Default,2", which names the token class; blanks around it do not count.
ArcWeight parse_arc_weight(const std::string& text);

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_PNML_DIALECT_H_
