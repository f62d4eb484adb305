#include "convert/sbml_document.h"

#include <sbml/conversion/ConversionProperties.h>

#include <string>
#include <utility>
#include <vector>

LIBSBML_CPP_NAMESPACE_USE

namespace crninv::convert {

namespace {

// The message of a libSBML error on one line.
std::string one_line(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// "line N: message", the message on one line.
std::string described(const SBMLError& e) {
  return "line " + std::to_string(e.getLine()) + ": " + one_line(e.getMessage());
}

// XML errors about one attribute or element, in well-formed XML: the
// model around them is read all the same.
bool is_local_xml_error(unsigned id) {
  switch (id) {
    case MissingXMLRequiredAttribute:
    case XMLAttributeTypeMismatch:
    case MissingXMLAttributeValue:
    case BadXMLAttributeValue:
    case BadXMLAttribute:
    case UnrecognizedXMLElement:
    case BadXMLIDValue:
    case BadXMLIDRef:
    case XMLEmptyValueNotPermitted:
    case XMLBadNumber:
    case XMLBadColon:
      return true;
    default:
      return false;
  }
}

// An error that leaves no model to trust: the file is missing or is not
// well-formed XML (a file cut short reads as part of its model), or
// libSBML itself failed.
bool is_fatal(const SBMLError& e) {
  if (e.getSeverity() < LIBSBML_SEV_ERROR) return false;
  unsigned category = e.getCategory();
  return e.getSeverity() >= LIBSBML_SEV_FATAL || category == LIBSBML_CAT_INTERNAL ||
         category == LIBSBML_CAT_SYSTEM ||
         (category == LIBSBML_CAT_XML && !is_local_xml_error(e.getErrorId()));
}

// The errors from index first on that stop the conversion, described.
std::vector<std::string> fatal_errors(const SBMLDocument& document, unsigned first,
                                      bool every_error) {
  std::vector<std::string> found;
  for (unsigned i = first; i < document.getNumErrors(); ++i) {
    const SBMLError& e = *document.getError(i);
    if (every_error ? e.getSeverity() >= LIBSBML_SEV_ERROR : is_fatal(e)) {
      found.push_back(described(e));
    }
  }
  return found;
}

// The problems that leave the model readable, then every Level 3 package
// that this libSBML does not know.
SbmlDiagnostics diagnose(const SBMLDocument& document) {
  SbmlDiagnostics d;
  for (unsigned i = 0; i < document.getNumErrors(); ++i) {
    const SBMLError& e = *document.getError(i);
    unsigned severity = e.getSeverity();
    d.errors += severity >= LIBSBML_SEV_ERROR;
    d.warnings += severity == LIBSBML_SEV_WARNING;
    if (severity >= LIBSBML_SEV_WARNING) d.messages.push_back(described(e));
  }
  for (int i = 0; i < document.getNumUnknownPackages(); ++i) {
    d.unknown_packages.push_back(
        {document.getUnknownPackagePrefix(i), document.getUnknownPackageURI(i)});
  }
  return d;
}

// The folder of path, where the files of external model definitions are.
std::string folder_of(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// Replaces submodels by the reactions and species they hold, named as the
// flattening names them.
void flatten(const std::string& path, SBMLDocument& document, const SbmlDiagnostics& diagnostics) {
  if (!document.isPackageEnabled("comp")) return;
  unsigned first = document.getNumErrors();
  ConversionProperties properties;
  properties.addOption("flatten comp", true);
  properties.addOption("performValidation", false);
  properties.addOption("abortIfUnflattenable", "none");
  properties.addOption("basePath", folder_of(path));
  if (document.convert(properties) == LIBSBML_OPERATION_SUCCESS) return;
  throw SbmlError(path, "cannot flatten the hierarchical model",
                  fatal_errors(document, first, true), diagnostics);
}

// The document as libSBML reads it. libSBML throws where an element
// declares a level, version and namespace that do not go together (its
// constructors cannot return an error): that is a document it cannot read.
std::unique_ptr<SBMLDocument> parse_document(const std::string& path) {
  try {
    std::unique_ptr<SBMLDocument> document(readSBMLFromFile(path.c_str()));
    if (document == nullptr) throw SbmlError(path, "out of memory");
    return document;
  } catch (const SBMLConstructorException& e) {
    throw SbmlError(path, "cannot read SBML", {one_line(e.what())});
  }
}

}  // namespace

std::unique_ptr<SBMLDocument> read_document(const std::string& path, SbmlDiagnostics& diagnostics) {
  std::unique_ptr<SBMLDocument> document = parse_document(path);
  bool has_model = document->getModel() != nullptr;
  std::vector<std::string> fatal = fatal_errors(*document, 0, !has_model);
  if (!fatal.empty()) throw SbmlError(path, "cannot read SBML", std::move(fatal));
  if (!has_model) throw SbmlError(path, "the document holds no model");
  diagnostics = diagnose(*document);
  flatten(path, *document, diagnostics);
  if (document->getModel() == nullptr) {
    throw SbmlError(path, "the document holds no model", {}, diagnostics);
  }
  return document;
}

}  // namespace crninv::convert
