// Helpers shared by the unit tests.
#ifndef CRNINV_TESTS_TEST_UTIL_H_
#define CRNINV_TESTS_TEST_UTIL_H_

#include <initializer_list>
#include <string>
#include <vector>

#include "base/exact.h"
#include "crninv/sparse_matrix.h"

// Writes contents (any bytes, NUL included) to a fresh file in a temporary
// directory and returns its path. The files live until the process ends.
std::string write_temp_file(const std::string& contents);

// The whole file as bytes.
std::string read_file(const std::string& path);

// A regular expression that matches exactly text, for death-test matchers.
std::string literal_regex(const std::string& text);

// The path of a network of the test corpus: in the networks shipped with
// the tests, else in ../shared/nets beside the clone; "" when it is in
// neither (the test then skips it, saying so).
std::string test_net(const std::string& name);
// The paths of those of the networks named that are here; each one that is
// not is said on standard output.
std::vector<std::string> test_nets(std::initializer_list<const char*> names);

// The nonzero entries of dense rows of the given length.
template <typename Rows>
crninv::SparseMatrix sparse_matrix(const Rows& rows, uint32_t columns) {
  crninv::SparseMatrix m;
  m.columns = columns;
  for (const auto& row : rows) {
    for (uint32_t j = 0; j < row.size(); ++j) {
      if (row[j] == 0) continue;
      m.column.push_back(j);
      m.value.push_back(row[j]);
    }
    m.end_row();
  }
  return m;
}

// The message of the overflow that f signals (WidthExceeded, at any
// width), or "" when it signals none.
template <typename F>
std::string overflow_message(F f) {
  try {
    f();
  } catch (const crninv::WidthExceeded& e) {
    return e.message;
  }
  return "";
}

#endif  // CRNINV_TESTS_TEST_UTIL_H_
