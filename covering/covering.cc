#include "crninv/covering.h"

#include <algorithm>

#include "base/monitor.h"
#include "covering/largest_support.h"
#include "crninv/errors.h"

namespace crninv {

namespace {

// The rows of a among rows (ascending), with only the columns they touch,
// renumbered in order.
SparseMatrix restricted(const SparseMatrix& a, const std::vector<uint32_t>& rows,
                        std::vector<uint32_t>& renumbered) {
  SparseMatrix r;
  std::vector<uint32_t> touched;
  for (uint32_t i : rows) {
    a.for_each_in_row(i, [&](uint32_t j, int64_t) {
      if (renumbered[j] == UINT32_MAX) {
        renumbered[j] = 0;
        touched.push_back(j);
      }
    });
  }
  std::sort(touched.begin(), touched.end());
  for (uint32_t k = 0; k < touched.size(); ++k) renumbered[touched[k]] = k;
  r.columns = static_cast<uint32_t>(touched.size());
  for (uint32_t i : rows) {
    a.for_each_in_row(i, [&](uint32_t j, int64_t v) {
      r.column.push_back(renumbered[j]);
      r.value.push_back(v);
    });
    r.end_row();
  }
  for (uint32_t j : touched) renumbered[j] = UINT32_MAX;
  return r;
}

uint64_t matrix_bytes(const SparseMatrix& m) {
  return m.start.size() * sizeof(uint64_t) + m.column.size() * (sizeof(uint32_t) + sizeof(int64_t));
}

}  // namespace

Covering covering(const Network& network, const Control& control) {
  Monitor monitor(control, Progress::kCovering);
  const SparseMatrix& n = network.stoichiometry();
  SparseMatrix by_reaction = transposed(n);
  uint64_t held = 2 * matrix_bytes(n);
  if (held > control.memory_budget) throw OutOfMemory();
  Covering result;
  result.species =
      largest_support(n, std::vector<uint8_t>(n.rows, 1), monitor, held, control.memory_budget);
  result.reactions = largest_support(by_reaction, std::vector<uint8_t>(n.columns, 1), monitor, held,
                                     control.memory_budget);
  result.conservative = result.species.covered.size() == n.rows;
  result.consistent = result.reactions.covered.size() == n.columns;
  monitor.report();
  return result;
}

Persistence persistence(const Network& network, const Siphons& siphons, const Control& control) {
  if (siphons.kind != SiphonOptions::kSiphons) {
    throw InvalidArgument("the persistence criterion reads siphons, not traps");
  }
  Monitor monitor(control, Progress::kCovering);
  const SparseMatrix& n = network.stoichiometry();
  uint64_t held = matrix_bytes(n);
  if (held > control.memory_budget) throw OutOfMemory();
  std::vector<uint8_t> all(n.rows, 1);
  CoveredSet species = largest_support(n, all, monitor, held, control.memory_budget);
  Persistence result;
  result.conservative = species.covered.size() == n.rows;
  // A semiflow inside a siphon uses covered species only: its program is
  // on those rows alone.
  std::vector<uint8_t> covered(n.rows, 0);
  for (uint32_t s : species.covered) covered[s] = 1;
  std::vector<uint32_t> renumbered(n.columns, UINT32_MAX), rows;
  for (uint32_t i = 0; i < siphons.sets.size(); ++i) {
    rows.clear();
    for (uint32_t s : siphons.sets[i]) {
      if (covered[s]) rows.push_back(s);
    }
    bool contains = false;
    if (!rows.empty()) {
      SparseMatrix part = restricted(n, rows, renumbered);
      contains = !largest_support(part, std::vector<uint8_t>(part.rows, 1), monitor, held,
                                  control.memory_budget)
                      .covered.empty();
    }
    if (!contains) result.without_semiflow.push_back(i);
  }
  result.criterion = result.without_semiflow.empty();
  monitor.report();
  return result;
}

}  // namespace crninv
