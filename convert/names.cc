#include "convert/names.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "reader/identifiers.h"

namespace crninv::convert {

std::string sanitize_identifier(const std::string& id) {
  std::string name;
  name.reserve(id.size() + 1);
  // A digit, '[' or ']' may go on an identifier but not start it.
  if (id.empty() || (!is_word_start(id[0]) && is_word_char(id[0]))) name.push_back('_');
  for (char c : id) name.push_back(is_word_char(c) ? c : '_');
  return name;
}

Naming unique_identifiers(const std::vector<std::string>& ids) {
  Naming result;
  result.names.resize(ids.size());
  std::unordered_set<std::string> taken;
  std::vector<size_t> pending;
  // Ids that are fine as they stand come first, so that renaming another
  // id never takes their text away from them.
  for (size_t i = 0; i < ids.size(); ++i) {
    if (sanitize_identifier(ids[i]) == ids[i] && taken.insert(ids[i]).second) {
      result.names[i] = ids[i];
    } else {
      pending.push_back(i);
    }
  }
  std::unordered_map<std::string, unsigned long> next_suffix;
  for (size_t i : pending) {
    std::string base = sanitize_identifier(ids[i]);
    std::string name = base;
    if (taken.count(name) != 0) {
      unsigned long& n = next_suffix.emplace(base, 2).first->second;
      do {
        name = base + "_" + std::to_string(n++);
      } while (taken.count(name) != 0);
    }
    taken.insert(name);
    result.names[i] = name;
    ++result.changed;
  }
  return result;
}

}  // namespace crninv::convert
