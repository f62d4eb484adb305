// The two writers of the structure: the text report's lines for the
// complexes, the reaction graph and the classes, the reasons it gives when
// the deficiency one theorem does not apply, the same bytes for the same
// network however its sides are written, and names in JSON strings escaped.
#include <gtest/gtest.h>

#include <string>

#include "crninv/structure.h"
#include "crninv/text_format.h"

namespace {

std::string text_of(const std::string& net) {
  crninv::Network network = crninv::parse_network(net);
  return crninv::structure_text(network, crninv::structure(network));
}

bool has_line(const std::string& text, const std::string& line) {
  return text.find("\n" + line + "\n") != std::string::npos;
}

TEST(StructureText, ListsComplexesGraphAndClasses) {
  std::string text = text_of("r1: A + B -> 2 C;\nr2: 2 C -> ;\nr3: -> A + B;\n");
  for (const char* line :
       {"\tcomplexes (n): 3", "\tlinkage classes (l): 1", "\trank of N (s): 2",
        "\tdeficiency (n - l - s): 0", "\treversible: no", "\tweakly reversible: yes",
        "\tC1 = A + B", "\tC2 = 2 C", "\tC3 = 0", "\tr1: C1 -> C2", "\tr3: C3 -> C1",
        "\tL1: C1 C2 C3; 3 reactions, rank 2, deficiency 0", "\tSL1 in L1, terminal: C1 C2 C3"}) {
    EXPECT_TRUE(has_line(text, line)) << "no line \"" << line << "\" in\n" << text;
  }
  // The headings in order: the numbers, the theorems, then the lists.
  size_t at = 0;
  for (const char* heading :
       {"Network structure:", "Deficiency zero theorem:", "Deficiency one theorem:",
        "Absolute concentration robustness", "Complexes:", "Reactions (", "Linkage classes (",
        "Strong linkage classes ("}) {
    size_t found = text.find(heading, at);
    ASSERT_NE(found, std::string::npos) << heading << " after byte " << at << " in\n" << text;
    at = found;
  }
}

TEST(StructureText, NamesTheClassesThatBreakTheDeficiencyOneConditions) {
  // L1: B <- A -> C, two terminal classes; L2: 0 -> D -> 2 D -> 3 D -> 4 D
  // -> D, five complexes of rank 1, deficiency 3.
  std::string text =
      text_of("A -> B;\nA -> C;\n-> D;\nD -> 2 D;\n2 D -> 3 D;\n3 D -> 4 D;\n4 D -> D;\n");
  EXPECT_TRUE(has_line(text,
                       "\tlinkage classes with more than one terminal strong linkage "
                       "class: L1"))
      << text;
  EXPECT_TRUE(has_line(text, "\tlinkage classes of deficiency above 1: L2")) << text;
}

TEST(StructureText, SameBytesHoweverTheSidesAreWritten) {
  std::string plain = text_of("A + B -> 2 C;\n2 C -> A + B;\nC -> ;\n");
  EXPECT_EQ(plain, text_of("A + B -> C + C;\nC + C + 0 A -> B + A + 0 C;\nC -> 0 B;\n"));
  EXPECT_NE(plain, text_of("A + B -> C + C;\nC + C + 1 A -> B + A + 0 C;\nC -> 0 B;\n"));
}

TEST(StructureJson, EscapesNamesAndCountsFromZero) {
  crninv::SparseMatrix n;
  n.columns = 1;
  for (int64_t v : {-1, 1, 2}) {
    n.column.push_back(0);
    n.value.push_back(v);
    n.end_row();
  }
  crninv::Network network(n, {"a\"b", "c\\d", "e\nf"}, {"r\t1"});
  crninv::Structure s = crninv::structure(network);
  std::string json = crninv::structure_json(network, s);
  for (const char* piece :
       {"\"name\": \"a\\\"b\"", "\"name\": \"c\\\\d\"", "\"name\": \"e\\u000af\"",
        "\"name\": \"r\\u00091\"", "\"reactant\": 0, \"product\": 1", "\"rank\": 1",
        "\"deficiency\": 0"}) {
    EXPECT_NE(json.find(piece), std::string::npos) << piece << " not in\n" << json;
  }
  EXPECT_EQ(json.find('\t'), std::string::npos);
  EXPECT_EQ(json.back(), '\n');
}

}  // namespace
