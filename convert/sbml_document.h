// Reads an SBML document as the field writes it: problems that leave the
// model readable are reported and passed over; hierarchical models are
// flattened; function definitions and initial assignments are expanded
// into plain values where libSBML can evaluate them.
#ifndef CRNINV_CONVERT_SBML_DOCUMENT_H_
#define CRNINV_CONVERT_SBML_DOCUMENT_H_

#include <sbml/SBMLTypes.h>

#include <memory>

// The document with its model, ready to be read; or null when the file is
// not SBML, holds no model or cannot be flattened, which has then been
// reported on standard error.
std::unique_ptr<LIBSBML_CPP_NAMESPACE_QUALIFIER SBMLDocument> read_document(const char* program,
                                                                            const char* path);

#endif  // CRNINV_CONVERT_SBML_DOCUMENT_H_
