#include "algebra/semiflow_report.h"

#include <cstdio>
#include <string>

namespace {

template <typename F>
void for_each_term(const Semiflow& s, F f) {
  for (size_t k = 0; k < s.support.size(); ++k) {
    if (s.wide.empty()) {
      f(s.support[k], s.coefficients[k]);
    } else {
      f(s.support[k], s.wide[k]);
    }
  }
}

}  // namespace

void print_semiflows(const char* heading, const std::vector<Semiflow>& semiflows,
                     const Names& names) {
  fputs(heading, stdout);
  std::string line;
  for (const Semiflow& s : semiflows) {
    line = '\t';
    for_each_term(s, [&](uint32_t i, const auto& value) {
      append_coefficient(line, value);
      line += names[i];
      line += ' ';
    });
    line += '\n';
    fwrite(line.data(), 1, line.size(), stdout);
  }
}

void json_semiflows(JsonReport& json, const std::vector<Semiflow>& semiflows) {
  json.begin_section("semiflows");
  for (const Semiflow& s : semiflows) {
    json.combination([&](auto f) { for_each_term(s, f); });
  }
  json.end_section();
}
