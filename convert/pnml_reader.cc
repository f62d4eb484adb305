#include "convert/pnml_reader.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>

#include "convert/gzip_input.h"
#include "convert/pnml_dialect.h"

namespace crninv::convert {

namespace {

constexpr size_t kChunkSize = 1 << 16;
// Longer texts are cut here: a weight or an arc kind has a few characters
// (PIPE writes one "class,count" pair for each token class).
constexpr size_t kMaxText = 4096;

enum Kind : uint8_t { UNDECLARED, PLACE, TRANSITION, PLACE_REF, TRANSITION_REF };

struct Node {
  Kind kind = UNDECLARED;
  uint32_t index = 0;  // place or transition index, or the node a reference names
};

struct PendingArc {
  uint32_t source, target;  // nodes
  int32_t weight;
  uint32_t line;
  bool moves;  // false: an inhibitor, read or test arc
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

// Elements whose whole content is passed over: tool data, and ProM's final
// markings, whose <place> elements name places declared elsewhere.
bool is_skipped(const std::string& name) {
  return name == "toolspecific" || name == "finalmarkings";
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
  void start_net(const char** atts);
  void declare(const char** atts, Kind kind);
  void start_arc(const char** atts);
  void set_weight(const std::string& text);
  void end_arc();
  uint32_t resolve(uint32_t n, const PendingArc& arc);
  bool at(const char* a, const char* b) const;
  bool in_structure() const;

  XML_Parser parser;
  std::string failure;
  std::vector<std::string> path;  // open elements, local names
  size_t skipped_depth = 0;       // inside a skipped element: nothing counts
  unsigned nets = 0;
  PetriNet net;
  std::unordered_map<std::string, uint32_t> node_of;
  std::vector<Node> nodes;
  std::vector<const std::string*> node_ids;  // the keys of node_of, by node
  std::vector<PendingArc> arcs;

  // The arc at hand, kept until its end, where its kind is known.
  bool in_arc = false;
  PendingArc arc{};
  std::string arc_id, arc_kind;
  // The text of the element at hand when it is a weight or an arc kind.
  std::string* capture = nullptr;
  size_t capture_depth = 0;
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

// The element just opened stands in the net's structure, directly under
// <net> or a <page>: elsewhere (final markings, queries) a <place> is a
// mention, not a declaration.
bool Reader::in_structure() const {
  size_t n = path.size();
  return n >= 2 && (path[n - 2] == "net" || path[n - 2] == "page");
}

void Reader::start(const char* raw_name, const char** atts) {
  std::string name = local_name(raw_name);
  if (skipped_depth > 0 || is_skipped(name)) {
    ++skipped_depth;
    return;
  }
  if (path.empty() && name != "pnml") {
    return fail("not a PNML document: the root element is <" + name + ">");
  }
  path.push_back(name);
  if (name == "net" && path.size() == 2) {
    start_net(atts);
  } else if (in_arc && path.size() >= 2 && path[path.size() - 2] == "arc") {
    // <type value="inhibitor"/> (PIPE); <type> and <arctype> with a <text>.
    const char* value = name == "type" ? attribute(atts, "value") : nullptr;
    if (value != nullptr) arc_kind = value;
  } else if (in_arc && path.size() >= 3 && path[path.size() - 3] == "arc") {
    // <inscription><text>2</text> (standard), <inscription><value>Default,2</value> (PIPE).
    bool text = name == "text" || name == "value";
    if (text && at("inscription", name.c_str())) capture = &weight_text;
    if (text && (at("type", name.c_str()) || at("arctype", name.c_str()))) capture = &arc_kind;
    if (capture != nullptr) {
      capture->clear();
      capture_depth = path.size();
    }
  } else if (!in_structure()) {
    return;
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
  }
}

void Reader::end() {
  // After a failure expat may still report the end of the element at hand.
  if (!failure.empty() || path.empty()) return;
  if (skipped_depth > 0) {
    --skipped_depth;
    return;
  }
  if (capture != nullptr && path.size() == capture_depth) {
    if (capture == &weight_text) set_weight(weight_text);
    capture = nullptr;
  }
  if (in_arc && path.back() == "arc" && path.size() >= 2 &&
      (path[path.size() - 2] == "net" || path[path.size() - 2] == "page")) {
    end_arc();
  }
  path.pop_back();
}

void Reader::text(const char* s, int length) {
  if (skipped_depth > 0 || capture == nullptr || path.size() != capture_depth) return;
  // The text is kept only up to a length no weight or kind reaches.
  size_t room = kMaxText + 1 - std::min(capture->size(), kMaxText + 1);
  capture->append(s, std::min(room, static_cast<size_t>(length)));
}

void Reader::start_net(const char** atts) {
  if (++nets > 1) return fail("a second net: only files with one net can be converted");
  const char* type = attribute(atts, "type");
  if (type == nullptr) return fail("the net has no type");
  NetType kind = classify_net_type(type);
  if (kind == NetType::COLOURED) {
    return fail("the net's type " + quoted(type) +
                " is not a place/transition net (ptnet); coloured nets cannot be converted");
  }
  if (kind == NetType::UNKNOWN) {
    return fail("the net's type " + quoted(type) +
                " is none that pnml2crn knows; place/transition nets are typed ptnet, "
                "\"P/T net\", ptNetb or pnmlcoremodel");
  }
  const char* id = attribute(atts, "id");
  net.id = id != nullptr ? id : "";
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
  const char* id = attribute(atts, "id");
  in_arc = true;
  arc_id = id != nullptr ? id : "";
  // TAPAAL writes the kind and the weight as attributes.
  const char* kind = attribute(atts, "type");
  arc_kind = kind != nullptr ? kind : "";
  uint32_t s = node(source);
  uint32_t t = node(target);
  arc = {s, t, 1, static_cast<uint32_t>(XML_GetCurrentLineNumber(parser)), true};
  const char* weight = attribute(atts, "weight");
  if (weight != nullptr) set_weight(weight);
}

void Reader::set_weight(const std::string& text) {
  ArcWeight w = parse_arc_weight(text);
  if (w.coloured) return fail("arc weight " + w.error + ": coloured nets cannot be converted");
  if (!w.error.empty()) return fail("arc weight " + w.error);
  arc.weight = w.value;
}

void Reader::end_arc() {
  in_arc = false;
  std::string name = arc_id.empty() ? "an arc" : "the arc " + quoted(arc_id);
  switch (classify_arc_kind(arc_kind)) {
    case ArcKind::MOVING:
      break;
    case ArcKind::NON_MOVING:
      arc.moves = false;
      break;
    case ArcKind::RESET:
      return fail(name +
                  " is a reset arc: it empties its place by as many tokens as it "
                  "holds, which no fixed coefficient says; nets with reset arcs "
                  "cannot be converted");
    case ArcKind::UNKNOWN:
      return fail(name + " is of type " + quoted(arc_kind.substr(0, 64)) +
                  ", which pnml2crn does not know");
  }
  arcs.push_back(arc);
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
  for (const PendingArc& a : arcs) {
    const Node& s = nodes[resolve(a.source, a)];
    const Node& t = nodes[resolve(a.target, a)];
    if (s.kind == t.kind) {
      throw PnmlError("line " + std::to_string(a.line) + ": the arc joins two " +
                      (s.kind == PLACE ? "places" : "transitions"));
    }
    if (!a.moves) {
      ++net.arcs_left_out;
      continue;
    }
    bool to_place = t.kind == PLACE;
    net.arcs.push_back(
        {to_place ? t.index : s.index, to_place ? s.index : t.index, a.weight, to_place});
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

PetriNet read_petri_net(const std::string& path) try {
  GzipInput file(path.c_str());
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
    size_t n = file.read(buffer, kChunkSize);
    bool last = n == 0;
    if (XML_ParseBuffer(parser.get(), static_cast<int>(n), last) != XML_STATUS_OK) {
      if (!reader.error().empty()) throw PnmlError(reader.error());
      throw PnmlError("line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) +
                      ": not well-formed XML: " + XML_ErrorString(XML_GetErrorCode(parser.get())));
    }
    if (last) break;
  }
  return reader.finish();
} catch (const InputError& e) {
  throw PnmlError(e.what());
}

}  // namespace crninv::convert
