// The network text format read plainly, for tests and benchmarks that need
// a Network before the library has its reader: one reaction a line,
// "label: 2 A + B -> C;", '#' comments, the rest of a line after ';'
// ignored, unlabelled reactions named "(reaction N)".
#ifndef CRNINV_TESTS_NET_TEXT_H_
#define CRNINV_TESTS_NET_TEXT_H_

#include <string>

#include "crninv/network.h"

// Throws std::runtime_error on a line it cannot read.
crninv::Network network_from_text(const std::string& text);
crninv::Network network_from_file(const std::string& path);

#endif  // CRNINV_TESTS_NET_TEXT_H_
