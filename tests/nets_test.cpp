// The built tool on real metabolic networks. Every printed row is checked
// against the stoichiometry read here independently: flows are conservation
// laws, other rows show exactly the reaction effects of their species
// combination, and the number of flows is S minus the rank of the matrix.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "crninv/text_format.h"
#include "tests/test_util.h"

namespace {

using SparseRow = std::vector<std::pair<uint32_t, int64_t>>;  // (column, value), columns ascending

struct Net {
  std::unordered_map<std::string, uint32_t> species;
  std::vector<std::string> reactions;
  std::vector<SparseRow> N;  // one row per species: its net change in each reaction
};

// The network as the library reads it.
void read_net(const std::string& path, Net& net) {
  crninv::Network network = crninv::read_network(path);
  for (uint32_t k = 0; k < network.species_count(); ++k) net.species[network.species()[k]] = k;
  net.reactions = network.reactions();
  const crninv::SparseMatrix& n = network.stoichiometry();
  net.N.assign(n.rows, {});
  for (uint32_t k = 0; k < n.rows; ++k) {
    n.for_each_in_row(k, [&](uint32_t j, int64_t v) { net.N[k].emplace_back(j, v); });
  }
}

// Rank modulo the prime 2^31 - 1, by sparse elimination of one row at a time
// against the rows kept so far (each kept with leading entry 1).
uint32_t rank_mod_p(const std::vector<SparseRow>& rows) {
  const int64_t p = 2147483647;
  auto inverse = [&](int64_t a) {
    int64_t result = 1;
    for (int64_t e = p - 2; e > 0; e >>= 1, a = a * a % p) {
      if (e & 1) result = result * a % p;
    }
    return result;
  };
  std::unordered_map<uint32_t, SparseRow> basis;  // by leading column
  for (SparseRow row : rows) {
    for (auto& term : row) term.second = (term.second % p + p) % p;
    while (!row.empty()) {
      auto found = basis.find(row[0].first);
      if (found == basis.end()) {
        int64_t f = inverse(row[0].second);
        for (auto& term : row) term.second = term.second * f % p;
        basis.emplace(row[0].first, std::move(row));
        break;
      }
      // row -= row[0] * kept row; the leading entries cancel.
      int64_t f = row[0].second;
      const SparseRow& kept = found->second;
      SparseRow next;
      size_t a = 0, b = 0;
      while (a < row.size() || b < kept.size()) {
        if (b == kept.size() || (a < row.size() && row[a].first < kept[b].first)) {
          next.push_back(row[a++]);
        } else if (a == row.size() || kept[b].first < row[a].first) {
          next.emplace_back(kept[b].first, (p - f * kept[b].second % p) % p);
          ++b;
        } else {
          int64_t v = ((row[a].second - f * kept[b].second) % p + p) % p;
          if (v != 0) next.emplace_back(row[a].first, v);
          ++a, ++b;
        }
      }
      row = std::move(next);
    }
  }
  return static_cast<uint32_t>(basis.size());
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct NetCase {
  const char* file;
  uint32_t S, R, flows;
};

void PrintTo(const NetCase& c, std::ostream* os) {
  *os << c.file;
}

class Nets : public testing::TestWithParam<NetCase> {};

TEST_P(Nets, EveryRowIsAnInvariant) {
  const NetCase& c = GetParam();
  const std::string path = std::string(CRNINV_TEST_NETS_DIR) + "/" + c.file;

  const std::string out = write_temp_file(""), err = write_temp_file("");
  const std::string command =
      "'" + std::string(CRNINV_BINARY) + "' '" + path + "' >'" + out + "' 2>'" + err + "'";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(read_file(err), "Reading from " + path + "\nPass 1\nThere are:\n\t" +
                                std::to_string(c.S) + " species\n\t" + std::to_string(c.R) +
                                " reactions\nPass 2\n");

  Net net;
  ASSERT_NO_FATAL_FAILURE(read_net(path, net));
  ASSERT_EQ(net.N.size(), c.S);
  ASSERT_EQ(net.reactions.size(), c.R);
  std::unordered_map<std::string, uint32_t> reaction_index;
  for (uint32_t j = 0; j < c.R; ++j) reaction_index.emplace(net.reactions[j], j);

  const std::string text = read_file(out);
  ASSERT_FALSE(text.empty());
  ASSERT_EQ(text.back(), '\n');
  const std::vector<std::string> headings = {"Flows (== constant):", "",
                                             "Inequalities (remove reactions, <= constant):", "",
                                             "Irreducible:"};
  std::vector<uint32_t> counts(3, 0);
  size_t heading = 0;
  for (const std::string& line : split_lines(text)) {
    if (line.empty() || line[0] != '\t') {
      ASSERT_LT(heading, headings.size()) << line;
      ASSERT_EQ(line, headings[heading]);
      ++heading;
      continue;
    }
    ASSERT_TRUE(heading == 1 || heading == 3 || heading == 5) << line;
    int section = static_cast<int>(heading / 2);  // 0 flows, 1 inequalities, 2 irreducible
    ++counts[section];

    // Terms "+3 name " up to the end; reaction terms first, then species.
    std::vector<int64_t> printed(c.R, 0), combined(c.R, 0);
    std::istringstream terms(line.substr(1));
    std::string coefficient, name;
    bool in_species = false;
    ASSERT_EQ(line.back(), ' ') << line;
    while (terms >> coefficient >> name) {
      ASSERT_TRUE(coefficient[0] == '+' || coefficient[0] == '-') << line;
      int64_t value = std::stoll(coefficient);
      ASSERT_NE(value, 0) << line;
      if (name == "(reaction") {
        std::string number;
        terms >> number;
        name += " " + number;
      }
      auto reaction = reaction_index.find(name);
      if (!in_species && reaction != reaction_index.end()) {
        printed[reaction->second] = value;
        continue;
      }
      in_species = true;
      auto species = net.species.find(name);
      ASSERT_NE(species, net.species.end()) << name << " in " << line;
      // The species part is minus the combination c.
      for (const auto& [j, n] : net.N[species->second]) combined[j] -= value * n;
    }
    ASSERT_TRUE(in_species) << "no species in " << line;
    bool negative = false, positive = false;
    for (uint32_t j = 0; j < c.R; ++j) {
      negative = negative || combined[j] < 0;
      positive = positive || combined[j] > 0;
    }
    // One bad line is enough to show a fault; the rest would repeat it.
    ASSERT_TRUE(printed == combined) << "reaction terms are not c^T N: " << line;
    ASSERT_EQ(section, negative && positive ? 2 : negative || positive ? 1 : 0) << line;
  }
  EXPECT_EQ(heading, headings.size());
  EXPECT_EQ(counts[0] + counts[1] + counts[2], c.S);
  EXPECT_EQ(counts[0], c.flows);
  EXPECT_EQ(counts[0], c.S - rank_mod_p(net.N));
}

INSTANTIATE_TEST_SUITE_P(Metabolic, Nets,
                         testing::Values(NetCase{"e_coli_core.net", 72, 94, 5},
                                         NetCase{"iJO1366.net", 1805, 2581, 39}),
                         [](const testing::TestParamInfo<NetCase>& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
