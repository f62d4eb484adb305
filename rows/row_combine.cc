// Elimination: this = c * this + b * pivot, then the primitive form.
//
// Nearly every multiplier of the row being cleared is 1 or -1, since pivots
// have the smallest magnitude in their column. Then the row keeps its
// entries where the pivot is zero, up to a sign that the flag takes, and
// only the pivot's nonzero entries are visited (combine_unit). When the
// magnitudes' bounds leave no room for an overflow the sums go unchecked
// there. Every other case takes the plain way, with every sum checked
// (combine_general).
#include <algorithm>
#include <cstring>

#include "rows/lanes.h"
#include "rows/row.h"

namespace crninv {

namespace {

// The sum of two entries whose products are known to fit, or the end of
// the run when the sum does not (-2147483648 fits).
int32_t checked_sum(int64_t a, int64_t b) {
  int64_t sum = a + b;
  if (sum > INT32_MAX || sum < INT32_MIN) width_exceeded(kAdditionOverflow);
  return static_cast<int32_t>(sum);
}

// Room for n entries in the workspace's arrays, which keep their size.
void reserve_merge(Row::Workspace& work, uint32_t n) {
  if (work.columns.size() >= n) return;
  work.columns = AccountedVector<uint32_t>();
  work.values = AccountedVector<int32_t>();
  work.columns.resize(n + n / 2);
  work.values.resize(n + n / 2);
}

// y * k, where kSign is k when k is 1 or -1 and 0 otherwise.
template <int kSign>
Lanes scaled(Lanes y, int32_t k) {
  if (kSign == 1) return y;
  if (kSign == -1) return wrapping_negate(y);
  return wrapping_multiply(y, k);
}

}  // namespace

void Row::eliminate(uint32_t column, const Row& pivot, Workspace& work) {
  if (column >= size) return;
  int32_t t = get(column);
  if (t == 0) return;
  int32_t p = pivot.get(column);
  if (p == 0) return;

  // c * t + b * p = 0 with c = lcm(|t|, |p|) / |t|: a least common multiple
  // past 32 bits shows as c * t, and is refused with every other product.
  int32_t c, b;
  cancelling_multipliers(t, p, &c, &b);
  // Every product is checked before any sum is formed, this row first.
  check_scale(c);
  pivot.check_scale(b);
  uint64_t reach = uint64_t{largest} + uint64_t{magnitude(b)} * pivot.largest;
  if (magnitude(c) == 1 && reach <= static_cast<uint64_t>(INT32_MAX)) {
    combine_unit(c, b, pivot, work);
  } else {
    combine_general(c, b, pivot, work);
  }
  normalize();
  fit_form();
}

void Row::combine_unit(int32_t c, int32_t b, const Row& pivot, Workspace& work) {
  // this = s * (stored + k * pivot's stored): the stored values change only
  // where the pivot is nonzero, and the flag takes s.
  int32_t s = flipped ? -c : c;
  int32_t k = (pivot.flipped ? -b : b) * s;
  flipped = s < 0;
  // A dense pivot makes the row long, unless it cancels most of it.
  if (!dense.allocated() && pivot.dense.allocated()) become_dense();
  if (!dense.allocated()) {
    add_sparse_to_sparse(k, pivot, work);
  } else if (!pivot.dense.allocated()) {
    add_sparse_to_dense(k, pivot);
  } else if (k == 1) {
    add_dense_to_dense<1>(k, pivot);
  } else if (k == -1) {
    add_dense_to_dense<-1>(k, pivot);
  } else {
    add_dense_to_dense<0>(k, pivot);
  }
}

void Row::add_sparse_to_sparse(int32_t k, const Row& pivot, Workspace& work) {
  const uint32_t* columns = sparse.index.data();
  int32_t* values = sparse.value.data();
  uint32_t n = pivot.find(size);
  // Where the pivot's entries all fall on entries of this row and none
  // cancels, the row changes in place: a short pivot then costs its own
  // entries and a search each, not a pass over a long row.
  if (n * 8 < count && add_in_place(k, pivot, n, work)) return;
  reserve_merge(work, count + n);
  uint32_t* out_columns = work.columns.data();
  int32_t* out_values = work.values.data();
  uint32_t r = 0, w = 0, m = 0;
  for (uint32_t q = 0; q < n; ++q) {
    uint32_t column = pivot.sparse.index[q];
    // The run of this row's entries before the column, copied whole.
    uint32_t run =
        static_cast<uint32_t>(std::lower_bound(columns + r, columns + count, column) - columns);
    memcpy(out_columns + w, columns + r, (run - r) * sizeof(uint32_t));
    memcpy(out_values + w, values + r, (run - r) * sizeof(int32_t));
    w += run - r;
    r = run;
    int32_t old = r < count && columns[r] == column ? values[r++] : 0;
    int32_t now = old + k * pivot.sparse.value[q];
    if (now != 0) {
      out_columns[w] = column;
      out_values[w++] = now;
      m = std::max(m, magnitude(now));
    }
  }
  memcpy(out_columns + w, columns + r, (count - r) * sizeof(uint32_t));
  memcpy(out_values + w, values + r, (count - r) * sizeof(int32_t));
  w += count - r;
  assign_sparse(out_columns, out_values, w);
  largest = std::max(largest, m);
}

bool Row::add_in_place(int32_t k, const Row& pivot, uint32_t n, Workspace& work) {
  const uint32_t* columns = sparse.index.data();
  int32_t* values = sparse.value.data();
  // First find where every entry goes; write only if all are there.
  std::vector<uint32_t>& at = work.at;
  at.resize(n);
  uint32_t r = 0;
  for (uint32_t q = 0; q < n; ++q) {
    r = static_cast<uint32_t>(
        std::lower_bound(columns + r, columns + count, pivot.sparse.index[q]) - columns);
    if (r == count || columns[r] != pivot.sparse.index[q]) return false;
    if (values[r] + k * pivot.sparse.value[q] == 0) return false;
    at[q] = r++;
  }
  uint32_t m = 0;
  for (uint32_t q = 0; q < n; ++q) {
    values[at[q]] += k * pivot.sparse.value[q];
    m = std::max(m, magnitude(values[at[q]]));
  }
  largest = std::max(largest, m);
  return true;
}

void Row::add_sparse_to_dense(int32_t k, const Row& pivot) {
  uint32_t m = 0;
  for (uint32_t q = 0; q < pivot.count && pivot.sparse.index[q] < size; ++q) {
    uint32_t column = pivot.sparse.index[q];
    int32_t old = dense.data[column];
    int32_t now = old + k * pivot.sparse.value[q];
    dense.data[column] = now;
    count += (now != 0) - (old != 0);
    m = std::max(m, magnitude(now));
    if (now != 0) {
      dense.set_block_bit(column / kBlock, true);
    } else {
      dense.refresh_block_bit(column / kBlock);
    }
  }
  largest = std::max(largest, m);
}

template <int kSign>
void Row::add_dense_to_dense(int32_t k, const Row& pivot) {
  // x ^ (x >> 31) is |x| for x >= 0 and |x| - 1 below: their OR, plus 1,
  // bounds every magnitude written.
  Lanes bound{};
  Lanes change{};  // per lane: entries that became zero less those that became nonzero
  pivot.dense.for_each_block([&](uint32_t start) {
    if (start >= size) return false;
    int32_t* x = dense.data + start;
    const int32_t* y = pivot.dense.data + start;
    if (start + kBlock > size) {
      // The pivot is the longer row: its entries past this row's end do
      // not count, and this row's padding stays zero.
      for (uint32_t i = 0; i < size - start; ++i) {
        int32_t old = x[i];
        x[i] += k * y[i];
        count += (x[i] != 0) - (old != 0);
        bound[0] |= x[i] ^ (x[i] >> 31);
      }
      dense.refresh_block_bit(start / kBlock);
      return true;
    }
    Lanes any{};
    for (uint32_t q = 0; q < kBlock; q += 4) {
      Lanes old = load_lanes(x + q);
      Lanes now = wrapping_add(old, scaled<kSign>(load_lanes(y + q), k));
      change += (now != 0) - (old != 0);
      any |= now;
      bound |= now ^ (now >> 31);
      store_lanes(x + q, now);
    }
    dense.set_block_bit(start / kBlock, or_lanes((UnsignedLanes)any) != 0);
    return true;
  });
  count -= change[0] + change[1] + change[2] + change[3];
  largest = std::max(largest, or_lanes((UnsignedLanes)bound) + 1);
}

void Row::combine_general(int32_t c, int32_t b, const Row& pivot, Workspace& work) {
  unflip();
  int32_t k = pivot.flipped ? -b : b;
  if (!dense.allocated() && pivot.dense.allocated()) become_dense();

  if (!dense.allocated()) {
    const uint32_t* columns = sparse.index.data();
    const int32_t* values = sparse.value.data();
    uint32_t n = pivot.find(size);
    reserve_merge(work, count + n);
    uint32_t r = 0, q = 0, w = 0;
    while (r < count || q < n) {
      uint32_t column;
      int64_t x = 0, y = 0;
      if (q == n || (r < count && columns[r] < pivot.sparse.index[q])) {
        column = columns[r];
        x = values[r++];
      } else {
        column = pivot.sparse.index[q];
        y = pivot.sparse.value[q++];
        if (r < count && columns[r] == column) x = values[r++];
      }
      int32_t sum = checked_sum(c * x, k * y);
      if (sum != 0) {
        work.columns.data()[w] = column;
        work.values.data()[w++] = sum;
      }
    }
    assign_sparse(work.columns.data(), work.values.data(), w);
  } else {
    if (c != 1) {
      dense.for_each_block([&](uint32_t start) {
        for (uint32_t i = start; i < start + kBlock; ++i) dense.data[i] *= c;
        return true;
      });
    }
    auto add_at = [&](uint32_t column, int32_t y) {
      dense.data[column] = checked_sum(dense.data[column], int64_t{k} * y);
      dense.refresh_block_bit(column / kBlock);
    };
    if (!pivot.dense.allocated()) {
      for (uint32_t q = 0; q < pivot.count && pivot.sparse.index[q] < size; ++q) {
        add_at(pivot.sparse.index[q], pivot.sparse.value[q]);
      }
    } else {
      pivot.dense.for_each_block([&](uint32_t start) {
        if (start >= size) return false;
        for (uint32_t i = start, end = std::min(start + kBlock, size); i < end; ++i) {
          if (pivot.dense.data[i] != 0) add_at(i, pivot.dense.data[i]);
        }
        return true;
      });
    }
  }
  if (dense.allocated()) count = dense.count_nonzero();
  largest = exact_largest();
}

}  // namespace crninv
