// The Network that read_sbml and read_pnml return is the network crninv
// reads from what the converters write: the same reaction lines as the
// cases expect, the same species in the same order, the same N. Every case
// of tests/convert/<format>/ that converts is checked, and the models and
// nets of the shared folder when it is there.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "convert/programs/network_writer.h"
#include "crninv/network.h"
#include "crninv/pnml.h"
#include "crninv/sbml.h"
#include "crninv/text_format.h"

namespace {

namespace fs = std::filesystem;

struct Input {
  std::string path;
  std::vector<std::string> options;  // "--keep-boundary", ...
  std::string expected;              // the case's stdout, or "" for a shared file
};

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The cases that convert: exit status 0 and a network on standard output.
std::vector<Input> cases(const std::string& format) {
  std::vector<Input> found;
  for (const fs::directory_entry& dir : fs::directory_iterator(CASES_DIR "/" + format)) {
    std::string out = contents(dir.path() / "stdout");
    if (contents(dir.path() / "status") != "0\n" || out.rfind("# converted by", 0) != 0) continue;
    Input input{(dir.path() / ("input." + std::string(format == "sbml" ? "xml" : "pnml"))).string(),
                {},
                out};
    std::istringstream args(contents(dir.path() / "args"));
    for (std::string arg; std::getline(args, arg);) {
      if (arg.rfind("--", 0) == 0) {
        input.options.push_back(arg);
      } else {
        input.path = (dir.path() / arg).string();
      }
    }
    found.push_back(input);
  }
  return found;
}

// The models and nets of the shared folder, top level only.
std::vector<Input> shared(const std::string& format) {
  const char* dir = getenv("CRNINV_SHARED_DIR");
  fs::path folder = fs::path(dir != nullptr ? dir : SHARED_DIR) / format;
  std::vector<Input> found;
  if (!fs::is_directory(folder)) return found;
  for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
    if (file.is_regular_file()) found.push_back({file.path().string(), {}, ""});
  }
  return found;
}

crninv::Network convert(const std::string& format, const Input& input) {
  if (format == "pnml") return crninv::read_pnml(input.path).network;
  crninv::SbmlOptions options;
  for (const std::string& o : input.options) {
    if (o == "--keep-boundary") options.keep_boundary = true;
    if (o == "--leave-out-varying") options.leave_out_varying = true;
    if (o == "--split-reversible") options.split_reversible = true;
  }
  return crninv::read_sbml(input.path, options).network;
}

// The lines that are no comment.
std::string reaction_lines(const std::string& text) {
  std::istringstream in(text);
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind('#', 0) != 0) kept += line + "\n";
  }
  return kept;
}

// The network's reactions as the programs write them, in a file.
std::string write_network(const crninv::Network& network, const std::string& path) {
  FILE* out = fopen(path.c_str(), "w");
  for (uint32_t j = 0; j < network.reaction_count(); ++j) write_reaction(out, network, j);
  fclose(out);
  return contents(path);
}

void check_read_back(const crninv::Network& network, const std::string& path) {
  crninv::Network read = crninv::read_network(path);
  EXPECT_EQ(read.species(), network.species());
  EXPECT_EQ(read.reactions(), network.reactions());
  const crninv::SparseMatrix& n = network.stoichiometry();
  const crninv::SparseMatrix& m = read.stoichiometry();
  EXPECT_EQ(m.start, n.start);
  EXPECT_EQ(m.column, n.column);
  EXPECT_EQ(m.value, n.value);
  // The sides as written, term by term.
  ASSERT_EQ(read.reaction_count(), network.reaction_count());
  for (uint32_t j = 0; j < network.reaction_count(); ++j) {
    for (bool products : {false, true}) {
      crninv::Side a = products ? read.products(j) : read.reactants(j);
      crninv::Side b = products ? network.products(j) : network.reactants(j);
      ASSERT_EQ(a.size(), b.size()) << "reaction " << j;
      for (size_t t = 0; t < a.size(); ++t) {
        EXPECT_EQ(a.begin()[t].species, b.begin()[t].species);
        EXPECT_EQ(a.begin()[t].coefficient, b.begin()[t].coefficient);
      }
    }
  }
}

class ConvertedNetwork : public testing::TestWithParam<const char*> {};

TEST_P(ConvertedNetwork, IsWhatCrninvReadsFromTheText) {
  std::string format = GetParam();
  std::vector<Input> inputs = cases(format);
  ASSERT_FALSE(inputs.empty());
  for (const Input& input : shared(format)) inputs.push_back(input);
  std::string text_path = testing::TempDir() + "converted_network_" + std::to_string(getpid());
  for (const Input& input : inputs) {
    SCOPED_TRACE(input.path);
    crninv::Network network = convert(format, input);
    std::string written = write_network(network, text_path);
    if (!input.expected.empty()) {
      EXPECT_EQ(written, reaction_lines(input.expected));
    }
    check_read_back(network, text_path);
  }
  remove(text_path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Formats, ConvertedNetwork, testing::Values("sbml", "pnml"));

}  // namespace
