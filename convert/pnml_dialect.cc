#include "convert/pnml_dialect.h"

#include <cctype>
#include <vector>

namespace crninv::convert {

namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// A count of tokens: 1 to 10 decimal digits, no sign; -1 otherwise.
long long count_of(const std::string& text) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
    return -1;
  return std::stoll(text);
}

}  // namespace

NetType classify_net_type(const std::string& type) {
  std::string t = lower(trimmed(type));
  if (t == "p/t net") return NetType::PLACE_TRANSITION;
  // A type URI names the net type in its last part.
  size_t cut = t.find_last_of("/#");
  std::string last = cut == std::string::npos ? t : t.substr(cut + 1);
  if (last == "ptnet" || last == "ptnetb" || last == "pnmlcoremodel") {
    return NetType::PLACE_TRANSITION;
  }
  if (last == "symmetricnet" || last == "highlevelnet" || last == "pt-hlpng") {
    return NetType::COLOURED;
  }
  return NetType::UNKNOWN;
}

ArcKind classify_arc_kind(const std::string& kind) {
  std::string k = lower(trimmed(kind));
  if (k.empty() || k == "normal" || k == "timed" || k == "transport") return ArcKind::MOVING;
  if (k == "inhibitor" || k == "tapninhibitor" || k == "read" || k == "test") {
    return ArcKind::NON_MOVING;
  }
  if (k == "reset") return ArcKind::RESET;
  return ArcKind::UNKNOWN;
}

ArcWeight parse_arc_weight(const std::string& text) {
  ArcWeight weight;
  std::string t = trimmed(text);
  // PIPE: "class,count" pairs, one per token class.
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t comma; (comma = t.find(',', start)) != std::string::npos; start = comma + 1) {
    parts.push_back(t.substr(start, comma - start));
  }
  parts.push_back(t.substr(start));
  long long value = -1;
  if (parts.size() == 1) {
    value = count_of(parts[0]);
  } else if (parts.size() % 2 == 0) {
    value = 0;
    int classes = 0;
    for (size_t i = 1; i < parts.size() && value >= 0; i += 2) {
      long long n = count_of(trimmed(parts[i]));
      if (n != 0) ++classes, value = n;
    }
    weight.coloured = classes > 1 && value >= 0;
  }
  if (weight.coloured) {
    weight.error = "\"" + t.substr(0, 64) + "\" gives tokens of several classes";
  } else if (value < 1 || value > 2147483647) {
    weight.error = "\"" + t.substr(0, 64) + "\" is not a whole number from 1 to 2147483647";
  } else {
    weight.value = static_cast<int32_t>(value);
  }
  return weight;
}

}  // namespace crninv::convert
