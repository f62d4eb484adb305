// Helpers shared by the unit tests.
#ifndef CRNINV_TESTS_TEST_UTIL_H_
#define CRNINV_TESTS_TEST_UTIL_H_

#include <string>

// Writes contents (any bytes, NUL included) to a fresh file in a temporary
// directory and returns its path. The files live until the process ends.
std::string write_temp_file(const std::string& contents);

// The whole file as bytes.
std::string read_file(const std::string& path);

// A regular expression that matches exactly text, for death-test matchers.
std::string literal_regex(const std::string& text);

#endif  // CRNINV_TESTS_TEST_UTIL_H_
