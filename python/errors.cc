// The library's errors as Python exceptions: each a crninv.Error and, where
// Python has one, the built-in exception a caller would catch (ValueError
// for a syntax error, MemoryError past the memory budget, OverflowError
// past 32 bits), with the library's message and its details as attributes.
#include "crninv/errors.h"

#include <pybind11/stl.h>

#include <exception>
#include <new>
#include <string>

#include "crninv/sbml.h"
#include "python/module.h"

namespace crninv::python {

namespace {

struct ExceptionClass {
  const char* name;
  const char* base;   // a class of this module, or empty
  PyObject* builtin;  // a built-in base as well, or null
  const char* doc;
};

const ExceptionClass kClasses[] = {
    {"Error", "", PyExc_Exception, "What every error of crninv is."},
    {"ParseError", "Error", PyExc_ValueError,
     "A network text that does not follow the grammar: path, line (from 1), text (the token "
     "where the parser stopped) and expected."},
    {"ReadError", "Error", PyExc_OSError,
     "A file that cannot be read, or that changed while it was read: path, and changed "
     "(True for the latter)."},
    {"IntegerOverflow", "Error", PyExc_OverflowError,
     "A number past the integers of the computation: 32 bits without wide, 64 bits in a "
     "network's entries. The message is the program's."},
    {"OutOfMemory", "Error", PyExc_MemoryError,
     "The work would pass its memory budget (memory_budget=, by default what the machine "
     "can spare)."},
    {"TooManySemiflows", "Error", nullptr,
     "More minimal semiflows than max_semiflows, or more candidates held on the way: cap, "
     "and candidates (True when it was the candidates)."},
    {"TooManySiphons", "Error", nullptr,
     "More minimal siphons or traps than the cap: cap, and traps (True for traps)."},
    {"Cancelled", "Error", nullptr, "The progress callback returned False."},
    {"InvalidArgument", "Error", PyExc_ValueError,
     "A network or an argument that the library cannot take."},
    {"ConversionError", "Error", PyExc_ValueError,
     "A file (or a model) that cannot be turned into a network: path, message (the reason) "
     "and details (the format reader's findings, one string each)."},
    {"SbmlError", "ConversionError", nullptr,
     "An SBML model that cannot be converted; diagnostics: libSBML's messages."},
    {"NoStoichiometricMatrix", "SbmlError", nullptr,
     "Reactions whose stoichiometry changes over time or is no fraction: reactions, a list "
     "of (id, reason); read_sbml(..., leave_out_varying=True) leaves them out."},
};

py::object exception_class(const char* name) {
  return py::module_::import("crninv._crninv").attr(name);
}

// Raises an exception of class name with the library's message and the
// given attributes.
void raise(const char* name, const std::exception& e, py::dict attributes = py::dict()) {
  py::object cls = exception_class(name);
  py::object error = cls(e.what());
  for (auto item : attributes) py::setattr(error, item.first, item.second);
  PyErr_SetObject(cls.ptr(), error.ptr());
}

py::dict conversion_attributes(const ConversionError& e) {
  py::dict a;
  a["path"] = e.path;
  a["message"] = e.message;
  a["details"] = py::cast(e.details);
  return a;
}

void translate(std::exception_ptr p) {
  try {
    std::rethrow_exception(p);
  } catch (const SyntaxError& e) {
    raise("ParseError", e,
          py::dict(py::arg("path") = e.path, py::arg("line") = e.line, py::arg("text") = e.text,
                   py::arg("expected") = e.expected));
  } catch (const ReadError& e) {
    raise("ReadError", e,
          py::dict(py::arg("path") = e.path, py::arg("filename") = e.path,
                   py::arg("changed") = e.kind == ReadError::kChanged));
  } catch (const Overflow& e) {
    raise("IntegerOverflow", e);
  } catch (const OutOfMemory& e) {
    raise("OutOfMemory", e);
  } catch (const TooManySemiflows& e) {
    raise("TooManySemiflows", e,
          py::dict(py::arg("cap") = e.cap, py::arg("candidates") = e.candidates));
  } catch (const TooManySiphons& e) {
    raise("TooManySiphons", e, py::dict(py::arg("cap") = e.cap, py::arg("traps") = e.traps));
  } catch (const Cancelled& e) {
    raise("Cancelled", e);
  } catch (const InvalidArgument& e) {
    raise("InvalidArgument", e);
  } catch (const NoStoichiometricMatrix& e) {
    py::dict a = conversion_attributes(e);
    a["diagnostics"] = py::cast(e.diagnostics.messages);
    py::list reactions;
    for (const auto& r : e.reactions) reactions.append(py::make_tuple(r.id, r.reason));
    a["reactions"] = reactions;
    raise("NoStoichiometricMatrix", e, a);
  } catch (const SbmlError& e) {
    py::dict a = conversion_attributes(e);
    a["diagnostics"] = py::cast(e.diagnostics.messages);
    raise("SbmlError", e, a);
  } catch (const ConversionError& e) {
    raise("ConversionError", e, conversion_attributes(e));
  } catch (const Error& e) {
    raise("Error", e);
  }
}

}  // namespace

void bind_errors(py::module_& m) {
  for (const ExceptionClass& c : kClasses) {
    py::object own = *c.base != '\0' ? py::object(m.attr(c.base)) : py::object();
    py::tuple bases;
    if (own && c.builtin != nullptr) {
      bases = py::make_tuple(own, py::handle(c.builtin));
    } else if (own) {
      bases = py::make_tuple(own);
    } else {
      bases = py::make_tuple(py::handle(c.builtin));
    }
    std::string qualified = std::string("crninv.") + c.name;
    PyObject* cls = PyErr_NewExceptionWithDoc(qualified.c_str(), c.doc, bases.ptr(), nullptr);
    if (cls == nullptr) throw py::error_already_set();
    m.attr(c.name) = py::reinterpret_steal<py::object>(cls);
  }
  py::register_exception_translator(translate);
}

}  // namespace crninv::python
