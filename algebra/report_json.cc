#include "algebra/report_json.h"

JsonReport::JsonReport(const Names& first, const char* first_key, const Names& second,
                       const char* second_key)
    : first(first), second(second), first_key(first_key), second_key(second_key) {}

void append_json_string(std::string& text, std::string_view name) {
  text += '"';
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (u < 0x20) {
      static const char kHex[] = "0123456789abcdef";
      text += "\\u00";
      text += kHex[u >> 4];
      text += kHex[u & 15];
    } else {
      text += c;
    }
  }
  text += '"';
}

void JsonReport::names(const char* key, const Names& list) {
  text += ",\n \"";
  text += key;
  text += "\": [";
  for (size_t i = 0; i < list.size(); ++i) {
    text += i == 0 ? "{\"index\": " : ", {\"index\": ";
    append_decimal(text, static_cast<int64_t>(i));
    text += ", \"name\": ";
    append_json_string(text, list[i]);
    text += '}';
    if (text.size() > 1 << 16) flush();
  }
  text += ']';
}

void JsonReport::begin(const char* invariants_of) {
  text += "{\"invariants_of\": ";
  append_json_string(text, invariants_of);
  // The species before the reactions, whichever block comes first.
  bool species_first = std::string_view(first_key) == "species";
  names(species_first ? first_key : second_key, species_first ? first : second);
  names(species_first ? second_key : first_key, species_first ? second : first);
}

void JsonReport::begin_section(const char* key) {
  text += ",\n \"";
  text += key;
  text += "\": [";
  first_row = true;
}

void JsonReport::end_section() {
  text += first_row ? "]" : "\n ]";
}

void JsonReport::end() {
  text += "}\n";
  flush();
}

void JsonReport::flush() {
  fwrite(text.data(), 1, text.size(), stdout);
  text.clear();
}
