// The rules of exact elimination written out plainly, over dense rows of
// 64-bit values with the 32-bit limits checked where the rules check them:
// the reference that the row and the reduction are tested against.
#ifndef CRNINV_TESTS_PLAIN_RULES_H_
#define CRNINV_TESTS_PLAIN_RULES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using PlainRow = std::vector<int64_t>;

// Each returns the message that ends the run, or nothing.
std::optional<std::string> plain_normalize(PlainRow& x);
std::optional<std::string> plain_eliminate(PlainRow& x, const PlainRow& pivot, uint32_t j);
std::optional<std::string> plain_reduce(std::vector<PlainRow>& rows, uint32_t n);

// The rank of a matrix modulo the prime 2^31 - 1: its rank over the
// rationals, unless the prime divides every largest nonzero minor.
uint32_t plain_rank(std::vector<PlainRow> m);

#endif  // CRNINV_TESTS_PLAIN_RULES_H_
