// Writes the reduced rows: the three sections of the report, or the same
// rows as one JSON document.
#ifndef CRNINV_DRIVER_RESULTS_H_
#define CRNINV_DRIVER_RESULTS_H_

#include <cstdint>
#include <cstdio>

#include "algebra/report.h"
#include "algebra/report_json.h"

// What a report is about: the names of the two blocks of columns, and what
// the rows combine (the first block's terms are the effects, the second's
// the combination itself).
struct ReportShape {
  Names first, second;
  const char* first_key;   // "reactions" (or "species" for the transposed network)
  const char* second_key;  // "species" (or "reactions")
  // The headings of the three sections.
  const char* flows;
  const char* inequalities;
  const char* irreducible;
};

// The report on species, and on reactions (--transitions), whose rows
// combine reactions: their flows have no net effect on any species, their
// inequalities would be flows without the species they name.
constexpr const char* kSpeciesHeadings[] = {"Flows (== constant):\n",
                                            "\nInequalities (remove reactions, <= constant):\n",
                                            "\nIrreducible:\n"};
constexpr const char* kReactionHeadings[] = {
    "Flows (no net change):\n", "\nInequalities (remove species, one-signed change):\n",
    "\nIrreducible:\n"};

// The headings of the minimal semiflows of species and of reactions.
constexpr const char kSpeciesSemiflowsHeading[] =
    "Semiflows (minimal, non-negative, == constant):\n";
constexpr const char kReactionSemiflowsHeading[] =
    "Semiflows (minimal, non-negative, no net change):\n";

template <typename RowType>
void print_section(const char* heading, int32_t wanted, const RowType* rows, uint32_t count,
                   const ReportShape& shape) {
  fputs(heading, stdout);
  uint32_t R = static_cast<uint32_t>(shape.first.size());
  uint32_t S = static_cast<uint32_t>(shape.second.size());
  for (uint32_t k = 0; k < count; ++k) {
    if (classify(rows[k], R, S) != wanted) continue;
    fputc('\t', stdout);
    print_row(rows[k], shape.first, shape.second);
  }
}

template <typename RowType>
void write_report(const RowType* rows, uint32_t count, const ReportShape& shape) {
  print_section(shape.flows, ROW_FLOW, rows, count, shape);
  print_section(shape.inequalities, ROW_INEQUALITY, rows, count, shape);
  print_section(shape.irreducible, ROW_IRREDUCIBLE, rows, count, shape);
}

template <typename RowType>
void write_json(const RowType* rows, uint32_t count, const ReportShape& shape) {
  JsonReport json(shape.first, shape.first_key, shape.second, shape.second_key);
  json.begin(shape.second_key);
  uint32_t R = static_cast<uint32_t>(shape.first.size());
  uint32_t S = static_cast<uint32_t>(shape.second.size());
  const struct {
    const char* key;
    int32_t wanted;
  } sections[] = {
      {"flows", ROW_FLOW}, {"inequalities", ROW_INEQUALITY}, {"irreducible", ROW_IRREDUCIBLE}};
  for (const auto& section : sections) {
    json.begin_section(section.key);
    for (uint32_t k = 0; k < count; ++k) {
      if (classify(rows[k], R, S) == section.wanted) json.row(rows[k]);
    }
    json.end_section();
  }
  json.end();
}

#endif  // CRNINV_DRIVER_RESULTS_H_
