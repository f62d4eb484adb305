#include "tests/net_text.h"

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

std::string trimmed(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

class TextReader {
 public:
  crninv::Network read(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
      line = line.substr(0, line.find('#'));
      size_t end = line.find(';');
      if (end == std::string::npos) {
        if (!trimmed(line).empty()) throw std::runtime_error("no ';' in: " + line);
        continue;
      }
      reaction(line.substr(0, end));
    }
    return builder.finish(species, reactions);
  }

 private:
  void reaction(std::string body) {
    auto j = static_cast<uint32_t>(reactions.size());
    size_t colon = body.find(':');
    if (colon != std::string::npos) {
      reactions.push_back(trimmed(body.substr(0, colon)));
      body = body.substr(colon + 1);
    } else {
      reactions.push_back("(reaction " + std::to_string(j + 1) + ")");
    }
    size_t arrow = body.find("->");
    if (arrow == std::string::npos) throw std::runtime_error("no '->' in: " + body);
    side(j, body.substr(0, arrow), false);
    side(j, body.substr(arrow + 2), true);
  }

  void side(uint32_t j, const std::string& text, bool product) {
    if (trimmed(text).empty()) return;
    std::istringstream terms(text);
    std::string term;
    while (std::getline(terms, term, '+')) {
      std::istringstream words(trimmed(term));
      std::string first, name;
      words >> first;
      int64_t coefficient = 1;
      if (!first.empty() && std::isdigit(static_cast<unsigned char>(first[0]))) {
        coefficient = std::stoll(first);
        words >> name;
      } else {
        name = first;
      }
      if (name.empty()) throw std::runtime_error("a term without a species in: " + text);
      builder.add_term(j, index_of(name), coefficient, product);
    }
  }

  uint32_t index_of(const std::string& name) {
    auto [it, fresh] = index.emplace(name, static_cast<uint32_t>(species.size()));
    if (fresh) species.push_back(name);
    return it->second;
  }

  crninv::NetworkBuilder builder;
  std::vector<std::string> species, reactions;
  std::map<std::string, uint32_t> index;
};

}  // namespace

crninv::Network network_from_text(const std::string& text) {
  return TextReader().read(text);
}

crninv::Network network_from_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return network_from_text(text.str());
}
