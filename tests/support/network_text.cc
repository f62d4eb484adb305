#include "tests/support/network_text.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "crninv/errors.h"

namespace {

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

std::string without_comments(const std::string& text) {
  std::string out;
  bool comment = false;
  for (char c : text) {
    if (c == '#') comment = true;
    if (c == '\n') comment = false;
    if (!comment) out += c;
  }
  return out;
}

struct Reader {
  std::unordered_map<std::string, uint32_t> index;
  std::vector<std::string> species, reactions;
  crninv::NetworkBuilder builder;

  [[noreturn]] void fail(const std::string& near, const std::string& expected) {
    throw crninv::SyntaxError("<text>", static_cast<uint32_t>(reactions.size() + 1), near,
                              expected);
  }

  void side(const std::string& text, uint32_t reaction, bool product) {
    std::stringstream terms(text);
    std::string term;
    while (std::getline(terms, term, '+')) {
      term = trim(term);
      if (term.empty()) {
        if (text.find_first_not_of(" \t\r\n") == std::string::npos) return;
        fail(text, "identifier");
      }
      int64_t coefficient = 1;
      size_t digits = 0;
      while (digits < term.size() && std::isdigit(static_cast<unsigned char>(term[digits]))) {
        ++digits;
      }
      if (digits > 0) {
        coefficient = std::stoll(term.substr(0, digits));
        term = trim(term.substr(digits));
      }
      if (term.empty()) fail(text, "identifier");
      auto found = index.emplace(term, static_cast<uint32_t>(species.size()));
      if (found.second) species.push_back(term);
      builder.add_term(reaction, found.first->second, coefficient, product);
    }
  }

  void reaction(const std::string& text) {
    size_t arrow = text.find("->");
    if (arrow == std::string::npos) fail(text, "->");
    std::string left = text.substr(0, arrow);
    uint32_t j = static_cast<uint32_t>(reactions.size());
    size_t colon = left.find(':');
    if (colon != std::string::npos) {
      reactions.push_back(trim(left.substr(0, colon)));
      left = left.substr(colon + 1);
    } else {
      reactions.push_back("(reaction " + std::to_string(j + 1) + ")");
    }
    side(left, j, false);
    side(text.substr(arrow + 2), j, true);
  }
};

}  // namespace

crninv::Network network_from_text(const std::string& text) {
  Reader reader;
  std::stringstream statements(without_comments(text));
  std::string statement;
  while (std::getline(statements, statement, ';')) {
    if (!trim(statement).empty()) reader.reaction(statement);
  }
  return reader.builder.finish(std::move(reader.species), std::move(reader.reactions));
}

crninv::Network network_from_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw crninv::ReadError(crninv::ReadError::kCannotRead, path);
  std::stringstream text;
  text << in.rdbuf();
  return network_from_text(text.str());
}
