// What can stop a call of the library. Every error is a crninv::Error (a
// std::runtime_error) whose what() says what happened in a sentence; the
// classes below carry the details a caller may want to act on. Nothing in
// the library prints or ends the process: the programs turn these into
// their messages and exit statuses.
#ifndef CRNINV_INCLUDE_CRNINV_ERRORS_H_
#define CRNINV_INCLUDE_CRNINV_ERRORS_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace crninv {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be opened or read, or that changed between the two
// readings of a network file.
class ReadError : public Error {
 public:
  enum Kind { kCannotRead, kChanged };
  ReadError(Kind kind, std::string path)
      : Error(kind == kCannotRead ? "cannot read " + path : path + " changed while it was read"),
        kind(kind),
        path(std::move(path)) {}
  Kind kind;
  std::string path;
};

// A network text that does not follow the grammar: where, and what was
// expected there ("identifier", "+ or ;", "integer at most 2147483647").
class SyntaxError : public Error {
 public:
  SyntaxError(std::string path, uint32_t line, std::string text, std::string expected)
      : Error(path + " line " + std::to_string(line) + " near '" + text + "': expecting " +
              expected),
        path(std::move(path)),
        line(line),
        text(std::move(text)),
        expected(std::move(expected)) {}
  std::string path;  // the file, or "<string>" for a text given whole
  uint32_t line;     // from 1
  std::string text;  // the token where the parser stopped
  std::string expected;
};

// A number that does not fit the integers of the computation: 32 bits in
// the specified run (InvariantOptions::wide off), 64 bits in a network's
// entries. what() is the message of the run: "integer overflow on
// multiply" or "Integer overflow on addition".
class Overflow : public Error {
 public:
  using Error::Error;
};
constexpr char kMultiplyOverflow[] = "integer overflow on multiply";
constexpr char kAdditionOverflow[] = "Integer overflow on addition";

// The work would pass its memory budget (Control::memory_budget).
class OutOfMemory : public Error {
 public:
  OutOfMemory() : Error("out of memory: the work would pass its memory budget") {}
};

// The minimal semiflows, or the candidates held on the way to them, pass
// the cap that the caller set. candidates: it was the candidates (the
// answer itself may be smaller).
class TooManySemiflows : public Error {
 public:
  TooManySemiflows(uint64_t cap, bool candidates)
      : Error("more than " + std::to_string(cap) +
              (candidates ? " candidate semiflows on the way" : " semiflows")),
        cap(cap),
        candidates(candidates) {}
  uint64_t cap;
  bool candidates;
};

// The minimal siphons (traps) are more than the cap that the caller set.
class TooManySiphons : public Error {
 public:
  TooManySiphons(uint64_t cap, bool traps)
      : Error("more than " + std::to_string(cap) + (traps ? " minimal traps" : " minimal siphons")),
        cap(cap),
        traps(traps) {}
  uint64_t cap;
  bool traps;
};

// The progress callback asked the work to stop.
class Cancelled : public Error {
 public:
  Cancelled() : Error("cancelled") {}
};

// A network or an argument that the library cannot take: a matrix whose
// shape and names disagree, a species index out of range.
class InvalidArgument : public Error {
 public:
  using Error::Error;
};

// A file that a converter (crninv/sbml.h, crninv/pnml.h) cannot turn into a
// network: it cannot be read, is not of its format, or says what the
// network text cannot. message is the reason without the file's name;
// details are the findings of the format's own reader, one line each
// ("line 3: ..."). what() is "PATH: MESSAGE", followed when there are
// details by ":" and each detail on a line of its own after a tab.
class ConversionError : public Error {
 public:
  ConversionError(std::string path, std::string message, std::vector<std::string> details = {})
      : Error(text(path, message, details)),
        path(std::move(path)),
        message(std::move(message)),
        details(std::move(details)) {}
  std::string path;
  std::string message;
  std::vector<std::string> details;

 private:
  static std::string text(const std::string& path, const std::string& message,
                          const std::vector<std::string>& details) {
    std::string all = path + ": " + message + (details.empty() ? "" : ":");
    for (const std::string& d : details) all += "\n\t" + d;
    return all;
  }
};

}  // namespace crninv

#endif  // CRNINV_INCLUDE_CRNINV_ERRORS_H_
