// Writes reactions and comments in the network text format that crninv
// reads, one reaction per line.
#ifndef CRNINV_CONVERT_PROGRAMS_NETWORK_WRITER_H_
#define CRNINV_CONVERT_PROGRAMS_NETWORK_WRITER_H_

#include <cstdint>
#include <cstdio>
#include <string>

#include "crninv/network.h"

// Reaction j of the network under its name, its terms in their order:
// "label: 2 A + B -> C;", "label: -> C;", "label: A -> ;".
void write_reaction(FILE* out, const crninv::Network& network, uint32_t j);

// "# text" and a line feed; control characters in text become '?', so that
// the comment stays on its line.
void write_comment(FILE* out, const std::string& text);

// Flushes standard output; on failure reports it as program's error and
// returns 1, else returns 0.
int finish_output(const char* program);

#endif  // CRNINV_CONVERT_PROGRAMS_NETWORK_WRITER_H_
