// Generated inputs for the benchmarks: network text and sparse matrices
// shaped like metabolic models (a few species per reaction, hub species
// such as cofactors in many reactions).
#ifndef CRNINV_BENCH_BENCH_NETWORKS_H_
#define CRNINV_BENCH_BENCH_NETWORKS_H_

#include <cstdint>
#include <memory>
#include <string>

#include "rows/row.h"

using crninv::Row;

// Network text of about the given size, labelled reactions over names like
// "M_s123_c", with coefficients and comments.
std::string network_text(size_t bytes, uint32_t seed);

// Writes text to a temporary file that lives until the process ends.
std::string temp_file(const std::string& text);

// The augmented matrix of a random network with S species and R reactions,
// built as the driver builds it: rows[k] holds species k's net change in
// each reaction, then -1 at column R + k.
std::unique_ptr<Row[]> network_rows(uint32_t S, uint32_t R, uint32_t seed);

#endif  // CRNINV_BENCH_BENCH_NETWORKS_H_
