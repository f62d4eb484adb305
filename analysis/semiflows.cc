// The minimal semiflows of a network, of its species (the rows of N) or of
// its reactions (the rows of N^T).
#include "crninv/semiflows.h"

#include "analysis/results.h"
#include "base/call.h"
#include "semiflows/semiflows.h"

namespace crninv {

Semiflows semiflows(const Network& network, const SemiflowOptions& options,
                    const Control& control) {
  Call call(control, Progress::kSemiflows);
  SparseMatrix transpose;
  const SparseMatrix& a = matrix_of(network, options.transitions, &transpose);
  std::vector<Semiflow> found;
  switch (minimal_semiflows(a, options.max_semiflows, &found, call.monitor())) {
    case SemiflowStatus::kDone:
      break;
    case SemiflowStatus::kTooMany:
      throw TooManySemiflows(options.max_semiflows, false);
    case SemiflowStatus::kTooManyCandidates:
      throw TooManySemiflows(options.max_semiflows, true);
  }
  Semiflows result;
  result.of_reactions = options.transitions;
  for (Semiflow& s : found) {
    for (size_t k = 0; k < s.support.size(); ++k) {
      if (s.wide.empty()) {
        push_entry(result.vectors, s.support[k], s.coefficients[k]);
      } else {
        push_entry(result.vectors, s.support[k], s.wide[k]);
      }
    }
    result.vectors.end_row();
    s = Semiflow();
  }
  return result;
}

}  // namespace crninv
