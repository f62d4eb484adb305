// The results as one JSON document on standard output, for notebooks and
// pipelines:
//
//   {"invariants_of": "species",
//    "species": [{"index": 0, "name": "A"}, ...],
//    "reactions": [{"index": 0, "name": "r1"}, ...],
//    "flows": [ROW, ...], "inequalities": [ROW, ...], "irreducible": [ROW, ...]}
//
// where a ROW is {"reactions": [TERM, ...], "species": [TERM, ...]} and a
// TERM {"index": 2, "name": "B", "coefficient": -1}: the same rows, in the
// same order, as the text report. Coefficients are JSON integers written
// exactly, whatever their size. man crninv describes the document whole.
#ifndef CRNINV_ALGEBRA_REPORT_JSON_H_
#define CRNINV_ALGEBRA_REPORT_JSON_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "algebra/report.h"

class JsonReport {
 public:
  // The blocks of columns: names, and the key of each block's terms and
  // list ("reactions", "species").
  JsonReport(const Names& first, const char* first_key, const Names& second,
             const char* second_key);

  // Writes the head: what the rows are invariants of, and both lists.
  void begin(const char* invariants_of);
  // Starts a list of rows under key; rows follow, then end_section.
  void begin_section(const char* key);
  template <typename RowType>
  void row(const RowType& row);
  // A row that combines the second block's columns alone (a semiflow):
  // for_each_term(f) calls f(index, coefficient) for each of its terms.
  template <typename ForEachTerm>
  void combination(ForEachTerm for_each_term);
  void end_section();
  // Closes the document.
  void end();

 private:
  void names(const char* key, const Names& list);
  template <typename Value>
  void term(uint32_t index, std::string_view name, const Value& value, bool& first_term);
  void flush();

  const Names& first;
  const Names& second;
  const char* first_key;
  const char* second_key;
  bool first_row = true;
  std::string text;
};

// Appends name as a JSON string, escaped.
void append_json_string(std::string& text, std::string_view name);

template <typename Value>
void JsonReport::term(uint32_t index, std::string_view name, const Value& value, bool& first_term) {
  text += first_term ? "{\"index\": " : ", {\"index\": ";
  first_term = false;
  append_decimal(text, static_cast<int64_t>(index));
  text += ", \"name\": ";
  append_json_string(text, name);
  text += ", \"coefficient\": ";
  append_decimal(text, value);
  text += '}';
}

template <typename RowType>
void JsonReport::row(const RowType& row) {
  text += first_row ? "\n  {" : ",\n  {";
  first_row = false;
  uint32_t R = static_cast<uint32_t>(first.size());
  uint64_t end = uint64_t{R} + second.size();
  bool first_term = true;
  text += '"';
  text += first_key;
  text += "\": [";
  bool in_first = true;
  row.for_each_nonzero([&](uint32_t j, const auto& value) {
    if (j >= end) return;
    if (j >= R && in_first) {
      text += "], \"";
      text += second_key;
      text += "\": [";
      in_first = false;
      first_term = true;
    }
    if (j < R) {
      term(j, first[j], value, first_term);
    } else {
      term(j - R, second[j - R], value, first_term);
    }
  });
  if (in_first) {
    text += "], \"";
    text += second_key;
    text += "\": [";
  }
  text += "]}";
  if (text.size() > 1 << 16) flush();
}

template <typename ForEachTerm>
void JsonReport::combination(ForEachTerm for_each_term) {
  text += first_row ? "\n  {\"" : ",\n  {\"";
  first_row = false;
  text += second_key;
  text += "\": [";
  bool first_term = true;
  for_each_term([&](uint32_t i, const auto& value) { term(i, second[i], value, first_term); });
  text += "]}";
  if (text.size() > 1 << 16) flush();
}

#endif  // CRNINV_ALGEBRA_REPORT_JSON_H_
