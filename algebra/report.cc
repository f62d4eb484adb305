#include "algebra/report.h"

#include <cstdio>
#include <string>

#include "algebra/arith.h"

int32_t classify(const Row& row, uint32_t R, uint32_t S) {
  int32_t seen = 0;  // sign of the reaction entries met so far, 0 for none
  bool mixed = false, species = false;
  uint64_t end = uint64_t{R} + S;
  row.for_each_nonzero([&](uint32_t j, int32_t value) {
    if (j < R) {
      int32_t s = value < 0 ? -1 : 1;
      if (seen == 0) seen = s;
      if (s != seen) mixed = true;
    } else if (j < end) {
      species = true;
    }
  });
  if (mixed) return ROW_IRREDUCIBLE;
  if (seen != 0) return ROW_INEQUALITY;
  return species ? ROW_FLOW : ROW_ZERO;
}

namespace {

// Appends value with its sign ("+3", "-2") and one blank.
void append_coefficient(std::string& text, int32_t value) {
  char digits[16];
  char* end = digits + sizeof digits;
  char* p = end;
  *--p = ' ';
  uint32_t m = magnitude(value);
  do {
    *--p = static_cast<char>('0' + m % 10);
    m /= 10;
  } while (m != 0);
  *--p = value < 0 ? '-' : '+';
  text.append(p, static_cast<size_t>(end - p));
}

}  // namespace

void print_coefficient(int32_t value) {
  std::string text;
  append_coefficient(text, value);
  fwrite(text.data(), 1, text.size(), stdout);
}

void print_row(const Row& row, const SpeciesNames& index2species, const ReactionNames& Reactions) {
  // A report of millions of terms is mostly this loop: each line is formed
  // first and written at once.
  static std::string line;
  line.clear();
  uint32_t R = static_cast<uint32_t>(Reactions.size());
  uint64_t end = uint64_t{R} + index2species.size();
  row.for_each_nonzero([&](uint32_t j, int32_t value) {
    if (j >= end) return;
    append_coefficient(line, value);
    line += j < R ? Reactions[j] : *index2species[j - R];
    line += ' ';
  });
  line += '\n';
  fwrite(line.data(), 1, line.size(), stdout);
}
