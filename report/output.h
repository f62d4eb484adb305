// What the writers share: a buffer that goes to the caller's Write in
// pieces, and the terms of a row.
#ifndef CRNINV_REPORT_OUTPUT_H_
#define CRNINV_REPORT_OUTPUT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "crninv/integers.h"
#include "crninv/report.h"

namespace crninv {

// Text gathered in a buffer and handed on when it passes 64 KiB, and at
// the end.
class Output {
 public:
  explicit Output(const Write& write) : write(write) {}
  ~Output() { flush(); }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  std::string& text() { return buffer; }
  // Hands the buffer on when it is long.
  void maybe_flush() {
    if (buffer.size() > 1 << 16) flush();
  }
  void flush() {
    if (!buffer.empty()) write(buffer);
    buffer.clear();
  }

 private:
  const Write& write;
  std::string buffer;
};

// Appends entry e of rows with its sign ("+3", "-2") and one blank, the
// way the report writes coefficients.
void append_coefficient(std::string& text, const IntegerRows& rows, uint64_t e);
// Appends entry e of rows in decimal.
void append_value(std::string& text, const IntegerRows& rows, uint64_t e);
// Appends name as a JSON string, escaped.
void append_json_string(std::string& text, std::string_view name);

// The names of the columns of a result's rows: the effects' block, then
// the combined block.
struct ColumnNames {
  const std::vector<std::string>& effects;
  const std::vector<std::string>& combined;
  const std::string& operator[](uint32_t j) const {
    return j < effects.size() ? effects[j] : combined[j - effects.size()];
  }
};

}  // namespace crninv

#endif  // CRNINV_REPORT_OUTPUT_H_
