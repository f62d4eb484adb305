// The species table: lookups through growth, and names that stay put.
#include "reader/names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace crninv;

TEST(SpeciesTable, FindsEveryNameThroughGrowthAndKeepsAddresses) {
  SpeciesTable table;
  EXPECT_EQ(table.find("A"), table.end());
  std::vector<const std::string*> borrowed;
  // Names that differ only late or only in length probe the same region.
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) {
    names.push_back("M_" + std::string(static_cast<size_t>(i % 17), 'x') + std::to_string(i));
  }
  for (uint32_t i = 0; i < names.size(); ++i) {
    auto [entry, added] = table.emplace(names[i], i);
    ASSERT_TRUE(added);
    borrowed.push_back(&entry->first);
  }
  auto [again, added] = table.emplace(names[7], 99);
  EXPECT_FALSE(added);
  EXPECT_EQ(again->second, 7u);
  EXPECT_EQ(&again->first, borrowed[7]);
  ASSERT_EQ(table.size(), names.size());
  for (uint32_t i = 0; i < names.size(); ++i) {
    auto entry = table.find(names[i]);
    ASSERT_NE(entry, table.end()) << names[i];
    EXPECT_EQ(entry->second, i);
    EXPECT_EQ(&entry->first, borrowed[i]) << "an entry moved while the table grew";
    uint32_t index = 0;
    EXPECT_TRUE(table.lookup(names[i], &index)) << names[i];
    EXPECT_EQ(index, i);
  }
  for (const std::string& absent : {std::string("M_"), names[3] + "x", std::string(),
                                    names[5].substr(0, names[5].size() - 1)}) {
    EXPECT_EQ(table.find(absent), table.end()) << absent;
    uint32_t index = 12345;
    EXPECT_FALSE(table.lookup(absent, &index)) << absent;
    EXPECT_EQ(index, 12345u);
  }
}

TEST(SpeciesTable, WalksEntriesInOrderOfInsertion) {
  SpeciesTable table;
  for (const char* name : {"b", "a", "B", "a_long_name_of_more_than_sixteen_bytes"}) {
    table.emplace(name, static_cast<uint32_t>(table.size()));
  }
  std::vector<std::string> walked;
  for (const auto& [name, index] : table) {
    EXPECT_EQ(index, walked.size());
    walked.push_back(name);
  }
  EXPECT_EQ(walked,
            (std::vector<std::string>{"b", "a", "B", "a_long_name_of_more_than_sixteen_bytes"}));
}

}  // namespace
