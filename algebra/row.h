// One row of the augmented matrix: a dense, fixed-length run of signed
// 32-bit entries that owns its storage. Rows are never copied; they change
// places only by swap().
#ifndef CRNINV_ALGEBRA_ROW_H_
#define CRNINV_ALGEBRA_ROW_H_

#include <cstdint>

class Row {
 public:
  Row() = default;
  ~Row() { delete[] data; }
  Row(const Row&) = delete;
  Row& operator=(const Row&) = delete;

  // Discards the entries and makes n zero entries.
  void resize(uint32_t n);
  uint32_t length() const { return size; }
  // Columns at or past the end read as 0.
  int32_t get(uint32_t column) const { return column < size ? data[column] : 0; }
  // Adds value at column; ignored past the end. A sum outside the 32-bit
  // range ends the process like any other overflow.
  void add(uint32_t column, int32_t value);
  void swap(Row& other);

  // Ends the process unless every entry times factor has a magnitude of at
  // most 2147483647. Changes nothing.
  void check_scale(int32_t factor) const;
  // Divides out the common factor of the entries and makes the first
  // nonzero entry positive. An all-zero row is left as it is.
  void normalize();
  // Replaces this row by c * this + b * pivot with c, b chosen from the
  // least common multiple so that the column becomes 0, then normalizes.
  // Does nothing when either row is 0 there (or the column is past the end).
  void eliminate(uint32_t column, const Row& pivot);

 private:
  int32_t* data = nullptr;
  uint32_t size = 0;
};

#endif  // CRNINV_ALGEBRA_ROW_H_
