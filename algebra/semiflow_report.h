// Writes minimal semiflows: a section in the style of the report, or the
// same vectors as one JSON document.
#ifndef CRNINV_ALGEBRA_SEMIFLOW_REPORT_H_
#define CRNINV_ALGEBRA_SEMIFLOW_REPORT_H_

#include <vector>

#include "algebra/report.h"
#include "algebra/report_json.h"
#include "algebra/semiflows.h"

// The heading, then one line per semiflow: a tab and its terms, each
// "+coefficient name ", named by names (indexed as the rows of the matrix
// the semiflows were computed on).
void print_semiflows(const char* heading, const std::vector<Semiflow>& semiflows,
                     const Names& names);

// The semiflows as the section "semiflows" of json, each a row of the
// second block's terms.
void json_semiflows(JsonReport& json, const std::vector<Semiflow>& semiflows);

#endif  // CRNINV_ALGEBRA_SEMIFLOW_REPORT_H_
