// A place/transition net read from PNML as a Network: places are species,
// transitions reactions, arc weights coefficients. The standard and the
// dialects of the common editors (PIPE, TAPAAL, WoPeD and LoLA, ProM and
// pm4py) are read, plain or gzip-compressed, as a stream: memory grows
// with the places, transitions and arcs, never with the text around them.
#ifndef CRNINV_PNML_H_
#define CRNINV_PNML_H_

#include <cstddef>
#include <string>
#include <vector>

#include "crninv/network.h"

namespace crninv {

struct PnmlConversion {
  // One reaction per transition, in document order, labelled by its id
  // made to fit the text format (crninv's identifiers); the places of its
  // input arcs on the left, those of its output arcs on the right, each in
  // the order of its first arc, parallel arcs added up. Species are the
  // places with arcs, in order of first appearance in the reactions.
  Network network;
  std::vector<std::string> place_ids;       // the PNML id of each species
  std::vector<std::string> transition_ids;  // the PNML id of each reaction
  std::string net_id;
  size_t places = 0;               // declared, with arcs or not
  size_t arcs = 0;                 // arcs that move tokens, as written (parallel ones apart)
  size_t arcs_left_out = 0;        // inhibitor, read and test arcs, which move none
  size_t identifiers_changed = 0;  // place and transition ids that did not fit the format
};

// Reads the net of the file at path. Throws ConversionError when the file
// cannot be read, is no well-formed XML, holds no net or more than one, a
// net other than a P/T net, an arc that does not join a place and a
// transition, a weight outside 1 to 2147483647 or a reset arc; and
// std::bad_alloc when memory runs out.
PnmlConversion read_pnml(const std::string& path);

}  // namespace crninv

#endif  // CRNINV_PNML_H_
