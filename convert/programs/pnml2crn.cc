// pnml2crn: writes a place/transition net from a PNML file in the network
// text format of crninv: places are species, transitions are reactions.
#include <cstdio>
#include <new>
#include <string>

#include "convert/programs/command_line.h"
#include "convert/programs/network_writer.h"
#include "crninv/errors.h"
#include "crninv/pnml.h"

namespace {

const char kProgram[] = "pnml2crn";

void write_net(const std::string& path, const crninv::PnmlConversion& c) {
  const crninv::Network& n = c.network;
  write_comment(stdout, "converted by pnml2crn from " + path);
  write_comment(stdout, "net " + c.net_id + ", place/transition net");
  // Every place with an arc is in a reaction, so they are the species.
  write_comment(stdout, "places: " + std::to_string(c.places) + " (" +
                            std::to_string(n.species_count()) +
                            " with arcs), transitions: " + std::to_string(n.reaction_count()) +
                            ", arcs: " + std::to_string(c.arcs));
  write_comment(stdout,
                "identifiers changed to fit the format: " + std::to_string(c.identifiers_changed));
  if (c.arcs_left_out != 0) {
    write_comment(stdout, "arcs that move no tokens (inhibitor, read, test), left out: " +
                              std::to_string(c.arcs_left_out));
  }
  for (uint32_t j = 0; j < n.reaction_count(); ++j) write_reaction(stdout, n, j);
}

}  // namespace

int main(int argc, char** argv) {
  Program program{
      kProgram,
      "FILE",
      "Write a PNML place/transition net, plain or gzip-compressed, as a crninv network.",
      "Usage: pnml2crn FILE.pnml",
      {}};
  const char* path = nullptr;
  int status = parse_command_line(program, argc, argv, &path);
  if (status >= 0) return status;
  try {
    crninv::PnmlConversion net = crninv::read_pnml(path);
    if (net.arcs_left_out != 0) {
      fprintf(stderr,
              "%s: warning: %s: arcs that move no tokens (inhibitor, read, test), left out: %zu\n",
              kProgram, path, net.arcs_left_out);
    }
    write_net(path, net);
  } catch (const crninv::Error& e) {
    fprintf(stderr, "%s: %s\n", kProgram, e.what());
    return 1;
  } catch (const std::bad_alloc&) {
    fprintf(stderr, "%s: %s: out of memory\n", kProgram, path);
    return 1;
  }
  return finish_output(kProgram);
}
