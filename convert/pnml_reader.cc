#include "convert/pnml_reader.h"

#include <expat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>

namespace {

constexpr size_t kChunkSize = 1 << 16;
constexpr size_t kMaxWeightText = 64;

enum Kind : uint8_t { UNDECLARED, PLACE, TRANSITION, PLACE_REF, TRANSITION_REF };

struct Node {
  Kind kind = UNDECLARED;
  uint32_t index = 0;  // place or transition index, or the node a reference names
};

struct PendingArc {
  uint32_t source, target;  // nodes
  int32_t weight;
  uint32_t line;
};

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// An element name without its namespace prefix.
std::string local_name(const char* name) {
  const char* colon = strrchr(name, ':');
  return colon != nullptr ? colon + 1 : name;
}

const char* attribute(const char** atts, const char* wanted) {
  for (; *atts != nullptr; atts += 2) {
    if (local_name(atts[0]) == wanted) return atts[1];
  }
  return nullptr;
}

// "ptnet" is the last part of the type URI of a place/transition net.
bool is_pt_type(const std::string& type) {
  size_t cut = type.find_last_of("/#");
  std::string last = cut == std::string::npos ? type : type.substr(cut + 1);
  for (char& c : last) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return last == "ptnet";
}

class Reader {
 public:
  explicit Reader(XML_Parser parser) : parser(parser) {}

  void start(const char* raw_name, const char** atts);
  void end();
  void text(const char* s, int length);
  PetriNet finish();

  const std::string& error() const { return failure; }

 private:
  void fail(const std::string& message);
  uint32_t node(const char* id);
  void declare(const char** atts, Kind kind);
  void start_arc(const char** atts);
  void end_weight();
  uint32_t resolve(uint32_t n, const PendingArc& arc);
  bool at(const char* a, const char* b) const;
  bool in_weight() const;

  XML_Parser parser;
  std::string failure;
  std::vector<std::string> path;  // open elements, local names
  size_t skipped_depth = 0;       // inside toolspecific: nothing counts
  unsigned nets = 0;
  PetriNet net;
  std::unordered_map<std::string, uint32_t> node_of;
  std::vector<Node> nodes;
  std::vector<const std::string*> node_ids;  // the keys of node_of, by node
  std::vector<PendingArc> arcs;
  std::string weight_text;
};

void Reader::fail(const std::string& message) {
  if (!failure.empty()) return;
  failure = "line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ": " + message;
  XML_StopParser(parser, XML_FALSE);
}

uint32_t Reader::node(const char* id) {
  auto found = node_of.emplace(id, static_cast<uint32_t>(nodes.size()));
  if (found.second) {
    nodes.emplace_back();
    node_ids.push_back(&found.first->first);
  }
  return found.first->second;
}

// The two innermost open elements are a, b.
bool Reader::at(const char* a, const char* b) const {
  size_t n = path.size();
  return n >= 2 && path[n - 2] == a && path[n - 1] == b;
}

// Inside the text of an arc's inscription: its weight.
bool Reader::in_weight() const {
  return path.size() >= 3 && path[path.size() - 3] == "arc" && at("inscription", "text");
}

void Reader::start(const char* raw_name, const char** atts) {
  std::string name = local_name(raw_name);
  if (skipped_depth > 0 || name == "toolspecific") {
    ++skipped_depth;
    return;
  }
  if (path.empty() && name != "pnml") {
    return fail("not a PNML document: the root element is <" + name + ">");
  }
  path.push_back(name);
  if (name == "net") {
    if (++nets > 1) return fail("a second net: only files with one net can be converted");
    const char* type = attribute(atts, "type");
    if (type == nullptr) return fail("the net has no type");
    if (!is_pt_type(type)) {
      return fail("the net's type " + quoted(type) +
                  " is not a place/transition net (ptnet); coloured nets cannot be converted");
    }
    const char* id = attribute(atts, "id");
    net.id = id != nullptr ? id : "";
  } else if (name == "place") {
    declare(atts, PLACE);
  } else if (name == "transition") {
    declare(atts, TRANSITION);
  } else if (name == "referencePlace") {
    declare(atts, PLACE_REF);
  } else if (name == "referenceTransition") {
    declare(atts, TRANSITION_REF);
  } else if (name == "arc") {
    start_arc(atts);
  } else if (in_weight()) {
    weight_text.clear();
  } else if (at("arc", "type")) {
    const char* value = attribute(atts, "value");
    if (value != nullptr && strcmp(value, "normal") != 0) {
      fail("an arc of type " + quoted(value) + ": only normal arcs can be converted");
    }
  }
}

void Reader::end() {
  // After a failure expat may still report the end of the element at hand.
  if (!failure.empty() || path.empty()) return;
  if (skipped_depth > 0) {
    --skipped_depth;
    return;
  }
  if (in_weight()) end_weight();
  path.pop_back();
}

void Reader::text(const char* s, int length) {
  if (skipped_depth > 0 || !in_weight()) return;
  // A weight has a few digits; a longer text is refused without keeping it.
  size_t room = kMaxWeightText + 1 - weight_text.size();
  weight_text.append(s, std::min(room, static_cast<size_t>(length)));
}

void Reader::declare(const char** atts, Kind kind) {
  const char* id = attribute(atts, "id");
  if (id == nullptr) return fail("<" + path.back() + "> without an id");
  Node& n = nodes[node(id)];
  if (n.kind != UNDECLARED) return fail("the id " + quoted(id) + " is declared twice");
  n.kind = kind;
  if (kind == PLACE) {
    n.index = static_cast<uint32_t>(net.places.size());
    net.places.emplace_back(id);
  } else if (kind == TRANSITION) {
    n.index = static_cast<uint32_t>(net.transitions.size());
    net.transitions.emplace_back(id);
  } else {
    const char* ref = attribute(atts, "ref");
    if (ref == nullptr) return fail("<" + path.back() + "> " + quoted(id) + " without a ref");
    uint32_t target = node(ref);
    nodes[node_of[id]].index = target;  // node() may have moved n
  }
}

void Reader::start_arc(const char** atts) {
  const char* source = attribute(atts, "source");
  const char* target = attribute(atts, "target");
  if (source == nullptr || target == nullptr) return fail("an arc without source or target");
  uint32_t s = node(source);
  uint32_t t = node(target);
  arcs.push_back({s, t, 1, static_cast<uint32_t>(XML_GetCurrentLineNumber(parser))});
}

void Reader::end_weight() {
  size_t first = weight_text.find_first_not_of(" \t\r\n");
  size_t last = weight_text.find_last_not_of(" \t\r\n");
  std::string digits =
      first == std::string::npos ? "" : weight_text.substr(first, last - first + 1);
  bool ok = !digits.empty() && digits.size() <= 10 &&
            digits.find_first_not_of("0123456789") == std::string::npos;
  long long value = ok ? std::stoll(digits) : 0;
  if (value < 1 || value > 2147483647) {
    return fail("arc weight " + quoted(digits.substr(0, kMaxWeightText)) +
                " is not a whole number from 1 to 2147483647");
  }
  arcs.back().weight = static_cast<int32_t>(value);
}

// The place or transition that node n stands for, through references.
uint32_t Reader::resolve(uint32_t n, const PendingArc& arc) {
  for (size_t steps = 0; steps <= nodes.size(); ++steps) {
    const Node& node = nodes[n];
    if (node.kind == PLACE || node.kind == TRANSITION) return n;
    if (node.kind == UNDECLARED) {
      throw PnmlError("line " + std::to_string(arc.line) + ": the arc names " +
                      quoted(*node_ids[n]) + ", which is no place or transition");
    }
    uint32_t next = node.index;
    Kind wanted = node.kind == PLACE_REF ? PLACE : TRANSITION;
    Kind found = nodes[next].kind;
    if (found != UNDECLARED && found != wanted && found != node.kind) {
      throw PnmlError("the reference " + quoted(*node_ids[n]) + " names " +
                      quoted(*node_ids[next]) + ", a node of the other kind");
    }
    n = next;
  }
  throw PnmlError("the reference " + quoted(*node_ids[n]) + " is part of a cycle");
}

PetriNet Reader::finish() {
  if (nets == 0) throw PnmlError("the document holds no net");
  net.arcs.reserve(arcs.size());
  for (const PendingArc& arc : arcs) {
    const Node& s = nodes[resolve(arc.source, arc)];
    const Node& t = nodes[resolve(arc.target, arc)];
    if (s.kind == t.kind) {
      throw PnmlError("line " + std::to_string(arc.line) + ": the arc joins two " +
                      (s.kind == PLACE ? "places" : "transitions"));
    }
    bool to_place = t.kind == PLACE;
    net.arcs.push_back(
        {to_place ? t.index : s.index, to_place ? s.index : t.index, arc.weight, to_place});
  }
  return std::move(net);
}

extern "C" {
void on_start(void* reader, const char* name, const char** atts) {
  static_cast<Reader*>(reader)->start(name, atts);
}
void on_end(void* reader, const char*) {
  static_cast<Reader*>(reader)->end();
}
void on_text(void* reader, const char* s, int length) {
  static_cast<Reader*>(reader)->text(s, length);
}
}

}  // namespace

PetriNet read_pnml(const char* path) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path, "rb"), fclose);
  if (!file) throw PnmlError(std::string("cannot open: ") + strerror(errno));
  std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate(nullptr),
                                                                 XML_ParserFree);
  if (!parser) throw std::bad_alloc();
  Reader reader(parser.get());
  XML_SetUserData(parser.get(), &reader);
  XML_SetElementHandler(parser.get(), on_start, on_end);
  XML_SetCharacterDataHandler(parser.get(), on_text);
  for (;;) {
    void* buffer = XML_GetBuffer(parser.get(), kChunkSize);
    if (buffer == nullptr) throw std::bad_alloc();
    size_t n = fread(buffer, 1, kChunkSize, file.get());
    if (ferror(file.get())) throw PnmlError(std::string("cannot read: ") + strerror(errno));
    bool last = feof(file.get()) != 0;
    if (XML_ParseBuffer(parser.get(), static_cast<int>(n), last) != XML_STATUS_OK) {
      if (!reader.error().empty()) throw PnmlError(reader.error());
      throw PnmlError("line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) +
                      ": not well-formed XML: " + XML_ErrorString(XML_GetErrorCode(parser.get())));
    }
    if (last) break;
  }
  return reader.finish();
}
