#include "convert/sbml_document.h"

#include <sbml/conversion/ConversionProperties.h>

#include <cstdio>
#include <string>

LIBSBML_CPP_NAMESPACE_USE

namespace {

// How many of libSBML's messages are shown when the model is converted
// all the same; the rest are counted.
constexpr unsigned kShown = 5;

// The message of a libSBML error on one line.
std::string one_line(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// "1 error", "2 errors".
std::string counted(unsigned n, const char* what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

void print_error(const SBMLError& e) {
  fprintf(stderr, "\tline %u: %s\n", e.getLine(), one_line(e.getMessage()).c_str());
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

// Lists the errors from index first on that stop the conversion, after
// the heading; false when there are none.
bool report_fatal(const char* program, const char* path, const SBMLDocument& document,
                  unsigned first, const char* heading, bool every_error) {
  bool any = false;
  for (unsigned i = first; i < document.getNumErrors(); ++i) {
    const SBMLError& e = *document.getError(i);
    if (!(every_error ? e.getSeverity() >= LIBSBML_SEV_ERROR : is_fatal(e))) continue;
    if (!any) fprintf(stderr, "%s: %s: %s:\n", program, path, heading);
    any = true;
    print_error(e);
  }
  return any;
}

// The problems that leave the model readable: their numbers and the first
// few, then every Level 3 package that this libSBML does not know.
void report_problems(const char* program, const char* path, const SBMLDocument& document) {
  unsigned errors = 0, warnings = 0;
  for (unsigned i = 0; i < document.getNumErrors(); ++i) {
    unsigned severity = document.getError(i)->getSeverity();
    errors += severity >= LIBSBML_SEV_ERROR;
    warnings += severity == LIBSBML_SEV_WARNING;
  }
  if (errors + warnings != 0) {
    fprintf(stderr, "%s: warning: %s: libSBML reports %s and %s; converting all the same\n",
            program, path, counted(errors, "error").c_str(), counted(warnings, "warning").c_str());
    unsigned shown = 0;
    for (unsigned i = 0; i < document.getNumErrors() && shown < kShown; ++i) {
      const SBMLError& e = *document.getError(i);
      if (e.getSeverity() < LIBSBML_SEV_WARNING) continue;
      print_error(e);
      ++shown;
    }
    if (errors + warnings > shown)
      fprintf(stderr, "\t... and %u more\n", errors + warnings - shown);
  }
  for (int i = 0; i < document.getNumUnknownPackages(); ++i) {
    fprintf(stderr,
            "%s: warning: %s: the SBML Level 3 package \"%s\" (%s) is not understood: what it "
            "adds to the model is left out\n",
            program, path, document.getUnknownPackagePrefix(i).c_str(),
            document.getUnknownPackageURI(i).c_str());
  }
}

// The folder of path, where the files of external model definitions are.
std::string folder_of(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// Replaces submodels by the reactions and species they hold, named as the
// flattening names them. False, reported, when that fails.
bool flatten(const char* program, const char* path, SBMLDocument& document) {
  if (!document.isPackageEnabled("comp")) return true;
  unsigned first = document.getNumErrors();
  ConversionProperties properties;
  properties.addOption("flatten comp", true);
  properties.addOption("performValidation", false);
  properties.addOption("abortIfUnflattenable", "none");
  properties.addOption("basePath", folder_of(path));
  if (document.convert(properties) == LIBSBML_OPERATION_SUCCESS) return true;
  if (!report_fatal(program, path, document, first, "cannot flatten the hierarchical model",
                    true)) {
    fprintf(stderr, "%s: %s: cannot flatten the hierarchical model\n", program, path);
  }
  return false;
}

}  // namespace

std::unique_ptr<SBMLDocument> read_document(const char* program, const char* path) {
  std::unique_ptr<SBMLDocument> document(readSBMLFromFile(path));
  if (document == nullptr) {
    fprintf(stderr, "%s: %s: out of memory\n", program, path);
    return nullptr;
  }
  bool has_model = document->getModel() != nullptr;
  if (report_fatal(program, path, *document, 0, "cannot read SBML", !has_model)) return nullptr;
  if (!has_model) {
    fprintf(stderr, "%s: %s: the document holds no model\n", program, path);
    return nullptr;
  }
  report_problems(program, path, *document);
  if (!flatten(program, path, *document)) return nullptr;
  if (document->getModel() == nullptr) {
    fprintf(stderr, "%s: %s: the document holds no model\n", program, path);
    return nullptr;
  }
  return document;
}
