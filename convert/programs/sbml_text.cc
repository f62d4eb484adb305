#include "convert/programs/sbml_text.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/programs/network_writer.h"

namespace {

const char kProgram[] = "sbml2crn";
// How many of libSBML's messages are shown when the model is converted
// all the same; the rest are counted.
constexpr size_t kShown = 5;

// "1 error", "2 errors".
std::string counted(unsigned n, const char* what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

}  // namespace

void report_diagnostics(const char* path, const crninv::SbmlDiagnostics& d) {
  if (d.errors + d.warnings != 0) {
    fprintf(stderr, "%s: warning: %s: libSBML reports %s and %s; converting all the same\n",
            kProgram, path, counted(d.errors, "error").c_str(),
            counted(d.warnings, "warning").c_str());
    size_t shown = std::min(kShown, d.messages.size());
    for (size_t i = 0; i < shown; ++i) fprintf(stderr, "\t%s\n", d.messages[i].c_str());
    if (d.errors + d.warnings > shown) {
      fprintf(stderr, "\t... and %zu more\n", d.errors + d.warnings - shown);
    }
  }
  for (const crninv::SbmlDiagnostics::Package& p : d.unknown_packages) {
    fprintf(stderr,
            "%s: warning: %s: the SBML Level 3 package \"%s\" (%s) is not understood: what it "
            "adds to the model is left out\n",
            kProgram, path, p.prefix.c_str(), p.uri.c_str());
  }
}

namespace {

// "... read as fractions within their precision: 2 (4.33333333333333 as
// 13/3 for A in R1, ...)", when there are any.
void write_fractions(const crninv::SbmlConversion& c) {
  std::vector<std::string> read;
  for (const crninv::ConvertedReaction& r : c.reactions) {
    for (const crninv::ReadFraction& f : r.fractions) {
      read.push_back(f.value + " as " + std::to_string(f.numerator) + "/" +
                     std::to_string(f.denominator) + " for " + f.species + " in " + r.id);
    }
  }
  if (read.empty()) return;
  write_comment(stdout, "stoichiometries read as fractions within their precision: " +
                            std::to_string(read.size()) + " (" + joined(read) + ")");
}

// With --split-reversible: how many reactions became two, and how many
// were turned round.
void write_directions(const crninv::SbmlConversion& c) {
  size_t split = 0, reversed = 0;
  for (const crninv::ConvertedReaction& r : c.reactions) {
    split += r.count == 2;
    reversed += r.count == 1 && r.direction == crninv::ConvertedReaction::kReverse;
  }
  write_comment(stdout, "reversible reactions split into ID and ID_rev (--split-reversible): " +
                            std::to_string(split) +
                            "; written reversed, as their flux bounds allow the reverse "
                            "direction only: " +
                            std::to_string(reversed));
}

void write_header(const char* path, const crninv::SbmlConversion& c,
                  const crninv::SbmlOptions& options) {
  std::vector<std::string> left_out;
  size_t scaled = 0;
  for (const crninv::ConvertedReaction& r : c.reactions) {
    if (!r.left_out.empty()) left_out.push_back(r.id);
    if (r.factor != 1) ++scaled;
  }
  std::string model_line = "model " + (c.model_id.empty() ? "(no id)" : c.model_id);
  if (!c.model_name.empty()) model_line += " (" + c.model_name + ")";
  model_line += ", SBML Level " + std::to_string(c.level) + " Version " + std::to_string(c.version);
  write_comment(stdout, std::string("converted by sbml2crn from ") + path);
  write_comment(stdout, model_line);
  write_comment(stdout, "species: " + std::to_string(c.species_declared) + " declared, " +
                            std::to_string(c.network.species_count()) +
                            " in the reactions written");
  if (!c.boundary_species.empty()) {
    write_comment(
        stdout,
        std::string("boundary species, ") +
            (options.keep_boundary ? "kept (--keep-boundary): " : "left out of the reactions: ") +
            std::to_string(c.boundary_species.size()) + " (" + joined(c.boundary_species) + ")");
  }
  write_comment(stdout, "reactions: " + std::to_string(c.reactions.size()) + " in the model, " +
                            std::to_string(c.reactions.size() - left_out.size()) + " written (" +
                            std::to_string(scaled) + " scaled to whole numbers), " +
                            std::to_string(left_out.size()) + " left out");
  if (!left_out.empty()) {
    write_comment(stdout, "reactions left out (reasons below): " + joined(left_out));
  }
  if (options.split_reversible) write_directions(c);
  write_fractions(c);
  write_comment(stdout,
                "identifiers changed to fit the format: " + std::to_string(c.identifiers_changed));
}

void write_reactions(const crninv::SbmlConversion& c, const crninv::SbmlOptions& options) {
  for (const crninv::ConvertedReaction& r : c.reactions) {
    if (!r.left_out.empty()) {
      write_comment(stdout, "left out " + r.id + ": " + r.left_out);
      fprintf(stderr, "%s: warning: reaction %s left out: %s\n", kProgram, r.id.c_str(),
              r.left_out.c_str());
      continue;
    }
    if (r.factor != 1) {
      write_comment(stdout, "scaled " + r.id + " by " + std::to_string(r.factor) +
                                " (non-integer stoichiometry)");
    }
    if (options.split_reversible && r.direction == crninv::ConvertedReaction::kReverse) {
      write_comment(stdout,
                    "reversed " + r.id + " (its flux bounds allow the reverse direction only)");
    }
    for (uint32_t j = r.first; j < r.first + r.count; ++j) write_reaction(stdout, c.network, j);
  }
}

}  // namespace

void write_conversion(const char* path, const crninv::SbmlConversion& c,
                      const crninv::SbmlOptions& options) {
  write_header(path, c, options);
  write_reactions(c, options);
}
