// A Network from the text format, for the tests and the benchmarks while
// the library has no reader of its own: one reaction per ';', "label:"
// optional, terms "2 A" joined by '+', sides joined by "->", '#' to the end
// of a line a comment. Species are numbered in order of first appearance,
// unlabelled reactions named "(reaction N)" from 1. Throws
// crninv::SyntaxError on text it cannot read.
#ifndef CRNINV_TESTS_SUPPORT_NETWORK_TEXT_H_
#define CRNINV_TESTS_SUPPORT_NETWORK_TEXT_H_

#include <string>

#include "crninv/network.h"

crninv::Network network_from_text(const std::string& text);
crninv::Network network_from_file(const std::string& path);

#endif  // CRNINV_TESTS_SUPPORT_NETWORK_TEXT_H_
