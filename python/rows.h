// The rows of a result as Python reads them. The result stays in C++; a
// RowList is a sequence over it that makes each Row, two dicts from name
// to int, when it is asked for, so that a result of millions of entries
// costs Python only what the caller takes of it. Matrices and the text of
// the reports are made on request, in one copy.
#ifndef CRNINV_PYTHON_ROWS_H_
#define CRNINV_PYTHON_ROWS_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "crninv/integers.h"
#include "crninv/report.h"
#include "python/module.h"

namespace crninv::python {

// One row: its species terms and its reaction terms, each a dict from name
// to int in column order.
struct Row {
  py::dict species, reactions;
};

// What a row's columns name: the columns below split are species (or
// reactions) by their index; from split on, species (or reactions) by
// their index less split.
struct Layout {
  uint32_t split = 0;
  bool low_species = false, high_species = true;
};

class RowList {
 public:
  // rows is kept alive by the result that owns it. The rows selected, in
  // order; or, when every is set, all of them.
  RowList(std::shared_ptr<const IntegerRows> rows, std::vector<uint32_t> selected,
          NetworkPtr network, Layout layout, bool every = false)
      : rows(std::move(rows)),
        selected(std::move(selected)),
        every(every),
        network(std::move(network)),
        layout(layout) {}

  size_t size() const { return every ? rows->size() : selected.size(); }
  Row row(size_t i) const;

 private:
  std::shared_ptr<const IntegerRows> rows;
  std::vector<uint32_t> selected;  // indices into rows, in order
  bool every;
  NetworkPtr network;
  Layout layout;
};

// Entry e as a Python int, exactly.
py::object python_int(const Integer& value);

// The columns [from, to) of the selected rows as a matrix: a NumPy int64
// array (OverflowError when an entry does not fit), or with sparse a
// scipy.sparse csr_matrix of int64, or of dtype object holding Python ints
// when some entry does not fit 64 bits (scipy's arithmetic does not take
// those: read data, indices and indptr).
py::object rows_matrix(const IntegerRows& rows, const std::vector<uint32_t>& selected,
                       uint32_t from, uint32_t to, bool sparse);

// The text that write gives, as a str: the writer runs twice, once to
// measure, once to fill the str in place, without the GIL.
py::str text_of(const std::function<void(const Write&)>& write);
// The same text handed to file.write in pieces of about 64 KiB.
void write_text(py::object file, const std::function<void(const Write&)>& write);

// Binds __str__, to_json, write and network on a result class whose
// holder points to a struct with network and value members.
template <typename Class, typename Result>
void bind_text(Class& c, void (*text)(const Network&, const Result&, const Write&),
               void (*json)(const Network&, const Result&, const Write&)) {
  using Ptr = std::shared_ptr<typename Class::type>;
  c.def("__str__",
        [text](const Ptr& r) {
          return text_of([&](const Write& w) { text(r->network->network(), r->value, w); });
        })
      .def(
          "to_json",
          [json](const Ptr& r) {
            return text_of([&](const Write& w) { json(r->network->network(), r->value, w); });
          },
          "The program's --json document, as a str (json.loads keeps its big integers).")
      .def(
          "write",
          [text, json](const Ptr& r, py::object file, bool as_json) {
            write_text(std::move(file), [&](const Write& w) {
              (as_json ? json : text)(r->network->network(), r->value, w);
            });
          },
          py::arg("file"), py::arg("json") = false,
          "Writes the report (or with json=True the JSON document) to a text file, in pieces.")
      .def_property_readonly(
          "network", [](const Ptr& r) { return r->network; }, "The network.");
}

}  // namespace crninv::python

#endif  // CRNINV_PYTHON_ROWS_H_
