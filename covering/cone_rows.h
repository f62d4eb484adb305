// The rows of a cone {y >= 0 : y A = 0} while the presolve rewrites them.
//
// Each row is an unknown of the cone. The presolve forces some to zero and
// joins two into one: after join(i, k, p, q) a new unknown w stands for
// both, y_i = p w and y_k = q w, its row p row_i + q row_k. Every join is
// logged, so that a semiflow of the rows left is read back as one of A.
// Rows live in slots, the indices of A's rows: a join keeps its row in the
// slot of the longer of the two and frees the other.
#ifndef CRNINV_COVERING_CONE_ROWS_H_
#define CRNINV_COVERING_CONE_ROWS_H_

#include <gmpxx.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "base/monitor.h"
#include "crninv/sparse_matrix.h"

namespace crninv {

class ConeRows {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;
  using Row = std::unordered_map<uint32_t, int64_t>;  // column -> coefficient, nonzero

  // The rows of a that allowed marks; the others are zero from the start.
  // The monitor is ticked at each row.
  ConeRows(const SparseMatrix& a, const std::vector<uint8_t>& allowed, Monitor& monitor);

  uint32_t slots() const { return static_cast<uint32_t>(rows.size()); }
  uint32_t columns() const { return static_cast<uint32_t>(lists.size()); }
  bool live(uint32_t slot) const { return node_of_slot[slot] != kNone; }
  const Row& row(uint32_t slot) const { return rows[slot]; }

  // The live slots with an entry in column j, each once, in the order they
  // came; stale entries are dropped from the list as it is read.
  const std::vector<uint32_t>& column(uint32_t j);

  // The unknown of slot is zero in every semiflow: its row goes.
  void kill(uint32_t slot);
  // Joins the unknowns of slots i and k (p, q > 0) and returns the slot of
  // the new row; kNone, and nothing changed, when a coefficient of the new
  // row would pass 2^53 (what a double holds exactly, for the linear
  // program).
  uint32_t join(uint32_t i, uint32_t k, int64_t p, int64_t q);
  // Drops column j from every row: for a column that repeats another.
  void drop_column(uint32_t j);

  // The columns whose entries changed since the last call, each once.
  std::vector<uint32_t> take_touched();

  // The values of A's rows, given those of the live slots' unknowns (by
  // slot; the entries of dead slots are ignored).
  std::vector<mpz_class> read_back(const std::vector<mpz_class>& slot_values) const;

  // Bytes held, roughly, for the memory account.
  static uint64_t bytes(const SparseMatrix& a);

 private:
  struct Join {
    uint32_t i, k, w;  // nodes: y_i = p y_w, y_k = q y_w
    int64_t p, q;
  };

  void touch(uint32_t j);

  std::vector<Row> rows;
  std::vector<std::vector<uint32_t>> lists;  // per column: slots, maybe stale
  std::vector<uint32_t> node_of_slot;        // kNone once dead
  uint32_t nodes;                            // A's rows, then one per join
  std::vector<Join> joins;
  std::vector<uint32_t> touched;
  std::vector<uint8_t> is_touched;
  std::vector<uint32_t> seen;  // per slot: the last column read with it
};

}  // namespace crninv

#endif  // CRNINV_COVERING_CONE_ROWS_H_
