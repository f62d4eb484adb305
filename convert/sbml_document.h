// Reads an SBML document as the field writes it: problems that leave the
// model readable are counted and passed over, and hierarchical models are
// flattened. (libSBML's converters that expand function definitions and
// initial assignments are not used: they validate the whole model first,
// which costs more than the conversion and, on function definitions that
// call each other, recurses until the stack runs out. sbml_stoichiometry
// evaluates what the matrix needs instead.)
#ifndef CRNINV_CONVERT_SBML_DOCUMENT_H_
#define CRNINV_CONVERT_SBML_DOCUMENT_H_

#include <sbml/SBMLTypes.h>

#include <memory>
#include <string>

#include "crninv/sbml.h"

namespace crninv::convert {

// The document with its model, ready to be read, and libSBML's problems
// with it in diagnostics. Throws SbmlError when the file is not SBML,
// holds no model or cannot be flattened.
std::unique_ptr<LIBSBML_CPP_NAMESPACE_QUALIFIER SBMLDocument> read_document(
    const std::string& path, SbmlDiagnostics& diagnostics);

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_SBML_DOCUMENT_H_
