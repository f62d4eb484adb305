// Classification of reduced rows and their printed form.
#ifndef CRNINV_ALGEBRA_REPORT_H_
#define CRNINV_ALGEBRA_REPORT_H_

#include <cstdint>

#include "algebra/row.h"
#include "reader/names.h"

constexpr int32_t ROW_ZERO = 0;         // every entry 0
constexpr int32_t ROW_FLOW = 1;         // reaction part 0: a conservation law
constexpr int32_t ROW_INEQUALITY = 2;   // reaction part of one sign
constexpr int32_t ROW_IRREDUCIBLE = 3;  // reaction part of both signs

// The class of a row whose first R columns are reactions and next S species.
int32_t classify(const Row& row, uint32_t R, uint32_t S);

// Writes the row to standard output as "+1 name -2 name \n", reactions
// first; zero entries are left out.
void print_row(const Row& row, const SpeciesNames& index2species, const ReactionNames& Reactions);

// Writes value with its sign ("+3", "-2") and one blank to standard output.
void print_coefficient(int32_t value);

#endif  // CRNINV_ALGEBRA_REPORT_H_
