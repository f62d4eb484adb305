// Reads a place/transition net from a PNML file, streaming: the memory
// used grows with the numbers of places, transitions and arcs, never with
// the text around them (names, graphics, tool data).
#ifndef CRNINV_CONVERT_PNML_READER_H_
#define CRNINV_CONVERT_PNML_READER_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace crninv::convert {

struct PetriArc {
  uint32_t place;       // index into PetriNet::places
  uint32_t transition;  // index into PetriNet::transitions
  int32_t weight;       // at least 1
  bool to_place;        // a post-arc (transition to place); else a pre-arc
};

struct PetriNet {
  std::string id;
  std::vector<std::string> places;       // ids, in document order
  std::vector<std::string> transitions;  // ids, in document order
  std::vector<PetriArc> arcs;            // the arcs that move tokens, in document order
  size_t arcs_left_out = 0;              // inhibitor, read and test arcs
};

// What makes a file unusable; the text names the line where it can.
class PnmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the file as it is or gzip-compressed, in any of the dialects of
// pnml_dialect.h. Throws PnmlError for a file that cannot be read, is no
// well-formed XML, holds no net or more than one, a net other than a P/T
// net, arcs that do not join a place and a transition, or a reset arc.
PetriNet read_petri_net(const std::string& path);

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_PNML_READER_H_
