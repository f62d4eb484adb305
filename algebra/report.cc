#include "algebra/report.h"

void print_coefficient(int32_t value) {
  std::string text;
  append_coefficient(text, value);
  fwrite(text.data(), 1, text.size(), stdout);
}
