#include "algebra/report.h"

#include <cstdio>

#include "algebra/arith.h"

int32_t classify(const Row& row, uint32_t R, uint32_t S) {
  int32_t seen = 0;  // sign of the reaction entries met so far, 0 for none
  for (uint32_t j = row.next_nonzero(0); j < R; j = row.next_nonzero(j + 1)) {
    int32_t s = row.get(j) < 0 ? -1 : 1;
    if (seen == 0) {
      seen = s;
    } else if (s != seen) {
      return ROW_IRREDUCIBLE;
    }
  }
  if (seen != 0) return ROW_INEQUALITY;
  return row.next_nonzero(R) < uint64_t{R} + S ? ROW_FLOW : ROW_ZERO;
}

void print_coefficient(int32_t value) {
  // Formatted by hand: a report of millions of terms is mostly this call.
  char text[16];
  char* end = text + sizeof text;
  char* p = end;
  *--p = ' ';
  uint32_t m = magnitude(value);
  do {
    *--p = static_cast<char>('0' + m % 10);
    m /= 10;
  } while (m != 0);
  *--p = value < 0 ? '-' : '+';
  fwrite(p, 1, static_cast<size_t>(end - p), stdout);
}

namespace {

void print_term(int32_t value, const std::string& name) {
  print_coefficient(value);
  fwrite(name.data(), 1, name.size(), stdout);
  fputc(' ', stdout);
}

}  // namespace

void print_row(const Row& row, const SpeciesNames& index2species, const ReactionNames& Reactions) {
  uint32_t R = static_cast<uint32_t>(Reactions.size());
  uint32_t S = static_cast<uint32_t>(index2species.size());
  uint64_t end = uint64_t{R} + S;
  for (uint32_t j = row.next_nonzero(0); j < end; j = row.next_nonzero(j + 1)) {
    print_term(row.get(j), j < R ? Reactions[j] : *index2species[j - R]);
  }
  fputc('\n', stdout);
}
