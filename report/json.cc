// The results as one JSON document, for notebooks and pipelines:
//
//   {"invariants_of": "species",
//    "species": [{"index": 0, "name": "A"}, ...],
//    "reactions": [{"index": 0, "name": "r1"}, ...],
//    "flows": [ROW, ...], "inequalities": [ROW, ...], "irreducible": [ROW, ...]}
//
// where a ROW is {"reactions": [TERM, ...], "species": [TERM, ...]} and a
// TERM {"index": 2, "name": "B", "coefficient": -1}: the same rows, in the
// same order, as the text report; the semiflows are a list "semiflows" of
// rows with one block. Coefficients are JSON integers written exactly,
// whatever their size. man crninv describes the document whole.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/json_text.h"
#include "crninv/report.h"
#include "report/output.h"

namespace crninv {

namespace {

void append_index(std::string& text, uint32_t index) {
  text += std::to_string(index);
}

class JsonDocument {
 public:
  JsonDocument(const Network& network, Output& out) : network(network), out(out) {}

  // The head: what the rows are invariants of, then the species and the
  // reactions, each listed with its index.
  void begin(const char* invariants_of) {
    out.text() += "{\"invariants_of\": ";
    append_json_string(out.text(), invariants_of);
    names("species", network.species());
    names("reactions", network.reactions());
  }
  // A list of rows under key; each row's terms in blocks, from the
  // columns [from, to) of its block, named by names and keyed by key.
  struct Block {
    const char* key;
    const std::vector<std::string>& names;
    uint32_t from;
  };
  void section(const char* key, const IntegerRows& rows, const std::vector<RowClass>* classes,
               RowClass wanted, const Block* blocks, int block_count) {
    out.text() += ",\n \"";
    out.text() += key;
    out.text() += "\": [";
    bool first_row = true;
    for (uint32_t k = 0; k < rows.size(); ++k) {
      if (classes != nullptr && (*classes)[k] != wanted) continue;
      out.text() += first_row ? "\n  {" : ",\n  {";
      first_row = false;
      uint64_t e = rows.start[k];
      for (int b = 0; b < block_count; ++b) {
        uint32_t to = b + 1 < block_count ? blocks[b + 1].from : UINT32_MAX;
        out.text() += b == 0 ? "\"" : ", \"";
        out.text() += blocks[b].key;
        out.text() += "\": [";
        bool first_term = true;
        for (; e < rows.start[k + 1] && rows.column[e] < to; ++e) {
          uint32_t index = rows.column[e] - blocks[b].from;
          out.text() += first_term ? "{\"index\": " : ", {\"index\": ";
          first_term = false;
          append_index(out.text(), index);
          out.text() += ", \"name\": ";
          append_json_string(out.text(), blocks[b].names[index]);
          out.text() += ", \"coefficient\": ";
          append_value(out.text(), rows, e);
          out.text() += '}';
        }
        out.text() += ']';
      }
      out.text() += '}';
      out.maybe_flush();
    }
    out.text() += first_row ? "]" : "\n ]";
  }
  void end() { out.text() += "}\n"; }

 private:
  void names(const char* key, const std::vector<std::string>& list) {
    out.text() += ",\n \"";
    out.text() += key;
    out.text() += "\": [";
    for (size_t i = 0; i < list.size(); ++i) {
      out.text() += i == 0 ? "{\"index\": " : ", {\"index\": ";
      append_index(out.text(), static_cast<uint32_t>(i));
      out.text() += ", \"name\": ";
      append_json_string(out.text(), list[i]);
      out.text() += '}';
      out.maybe_flush();
    }
    out.text() += ']';
  }

  const Network& network;
  Output& out;
};

const char* key_of(bool reactions) {
  return reactions ? "reactions" : "species";
}

}  // namespace

void write_json(const Network& network, const Invariants& invariants, const Write& write) {
  bool t = invariants.of_reactions;
  Output out(write);
  JsonDocument json(network, out);
  json.begin(key_of(t));
  const JsonDocument::Block blocks[] = {
      {key_of(!t), t ? network.species() : network.reactions(), 0},
      {key_of(t), t ? network.reactions() : network.species(), invariants.effects}};
  json.section("flows", invariants.rows, &invariants.classes, RowClass::kFlow, blocks, 2);
  json.section("inequalities", invariants.rows, &invariants.classes, RowClass::kInequality, blocks,
               2);
  json.section("irreducible", invariants.rows, &invariants.classes, RowClass::kIrreducible, blocks,
               2);
  json.end();
}

void write_semiflows_json(const Network& network, const Semiflows& semiflows, const Write& write) {
  bool t = semiflows.of_reactions;
  Output out(write);
  JsonDocument json(network, out);
  json.begin(key_of(t));
  const JsonDocument::Block block[] = {{key_of(t), t ? network.reactions() : network.species(), 0}};
  json.section("semiflows", semiflows.vectors, nullptr, RowClass::kZero, block, 1);
  json.end();
}

}  // namespace crninv
