// What sbml2crn writes of a conversion: libSBML's problems on standard
// error; the header, the comments on reactions and the reactions on
// standard output, with a warning on standard error for each reaction
// left out.
#ifndef CRNINV_CONVERT_PROGRAMS_SBML_TEXT_H_
#define CRNINV_CONVERT_PROGRAMS_SBML_TEXT_H_

#include "crninv/sbml.h"

// "sbml2crn: warning: PATH: libSBML reports ...", the first five
// messages, and a line for each Level 3 package not understood.
void report_diagnostics(const char* path, const crninv::SbmlDiagnostics& diagnostics);

void write_conversion(const char* path, const crninv::SbmlConversion& conversion,
                      const crninv::SbmlOptions& options);

#endif  // CRNINV_CONVERT_PROGRAMS_SBML_TEXT_H_
