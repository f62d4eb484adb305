// sbml2crn: writes the reactions of an SBML model in the network text
// format of crninv, one reaction per line, on standard output.
#include <cstdio>
#include <new>
#include <string>

#include "convert/programs/command_line.h"
#include "convert/programs/network_writer.h"
#include "convert/programs/sbml_text.h"
#include "crninv/sbml.h"

namespace {

const char kProgram[] = "sbml2crn";

// The message of an error, after the diagnostics that came before it.
int report_error(const crninv::SbmlError& e) {
  report_diagnostics(e.path.c_str(), e.diagnostics);
  auto no_matrix = dynamic_cast<const crninv::NoStoichiometricMatrix*>(&e);
  if (no_matrix == nullptr) {
    fprintf(stderr, "%s: %s\n", kProgram, e.what());
    return 1;
  }
  for (const crninv::NoStoichiometricMatrix::Reaction& r : no_matrix->reactions) {
    fprintf(stderr, "%s: %s: reaction %s: %s\n", kProgram, e.path.c_str(), r.id.c_str(),
            r.reason.c_str());
  }
  fprintf(stderr, "%s: --leave-out-varying converts the model without such reactions\n", kProgram);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  crninv::SbmlOptions options;
  Program program{
      kProgram,
      "FILE",
      "Write the reactions of an SBML model as a crninv network on standard output.",
      "Usage: sbml2crn FILE.xml",
      {{0, "keep-boundary", "keep boundary species in the reactions", &options.keep_boundary},
       {0, "leave-out-varying",
        "leave out reactions whose stoichiometry changes over time or is no fraction",
        &options.leave_out_varying},
       {0, "split-reversible", "write each reversible reaction as two, ID and ID_rev",
        &options.split_reversible}}};
  const char* path = nullptr;
  int status = parse_command_line(program, argc, argv, &path);
  if (status >= 0) return status;
  try {
    crninv::SbmlConversion converted = crninv::read_sbml(path, options);
    report_diagnostics(path, converted.diagnostics);
    write_conversion(path, converted, options);
  } catch (const crninv::SbmlError& e) {
    return report_error(e);
  } catch (const crninv::Error& e) {
    fprintf(stderr, "%s: %s: %s\n", kProgram, path, e.what());
    return 1;
  } catch (const std::bad_alloc&) {
    fprintf(stderr, "%s: %s: out of memory\n", kProgram, path);
    return 1;
  }
  return finish_output(kProgram);
}
