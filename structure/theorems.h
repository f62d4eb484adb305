// What the deficiency zero theorem, the deficiency one theorem and the
// criterion of absolute concentration robustness conclude of a network
// whose classes, ranks and deficiencies are known.
#ifndef CRNINV_STRUCTURE_THEOREMS_H_
#define CRNINV_STRUCTURE_THEOREMS_H_

#include "crninv/structure.h"

namespace crninv {

// Each reads the deficiencies, classes and flags of the structure.
DeficiencyZeroVerdict deficiency_zero_verdict(const Structure& structure);
DeficiencyOneVerdict deficiency_one_verdict(const Structure& structure);
// Also reads its complexes.
RobustnessVerdict robustness_verdict(const Structure& structure);

}  // namespace crninv

#endif  // CRNINV_STRUCTURE_THEOREMS_H_
