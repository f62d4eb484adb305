// A network file read whole, as the tool reads it (pass 1 for the species
// and the reactions, pass 2 for the rows), without the tool's messages: for
// the programs around it, benchmarks and tests, that need the matrix.
#ifndef CRNINV_READER_NETWORK_FILE_H_
#define CRNINV_READER_NETWORK_FILE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "algebra/row.h"

struct NetworkFile {
  std::vector<std::string> species;  // by index: the order of first appearance
  uint32_t reactions = 0;
  // One row per species: its net change in each reaction, columns
  // [0, reactions), then, when read augmented, -1 at column reactions + k.
  std::vector<Row> rows;
};

// False when the file cannot be opened or read, or changed between the
// passes. A syntax error ends the process with the parser's message.
bool read_network_file(const char* path, bool augmented, NetworkFile* out);

#endif  // CRNINV_READER_NETWORK_FILE_H_
