// Plain references for the structure tests: the rank over the rationals by
// dense Gaussian elimination on GMP fractions, nothing clever.
#ifndef CRNINV_TESTS_STRUCTURE_REFERENCE_H_
#define CRNINV_TESTS_STRUCTURE_REFERENCE_H_

#include <cstdint>
#include <vector>

uint32_t rational_rank(const std::vector<std::vector<int64_t>>& rows);

#endif  // CRNINV_TESTS_STRUCTURE_REFERENCE_H_
