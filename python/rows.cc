#include "python/rows.h"

#include <pybind11/numpy.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace crninv::python {

namespace {

// Whether an entry in columns [from, to) of the selected rows passes 64
// bits.
bool has_wider(const IntegerRows& rows, const std::vector<uint32_t>& selected, uint32_t from,
               uint32_t to) {
  if (rows.wider.empty()) return false;
  for (uint32_t k : selected) {
    for (uint64_t e = rows.start[k]; e < rows.start[k + 1]; ++e) {
      if (rows.column[e] >= from && rows.column[e] < to && !rows.at(e).fits_int64()) return true;
    }
  }
  return false;
}

py::object dense_matrix(const IntegerRows& rows, const std::vector<uint32_t>& selected,
                        uint32_t from, uint32_t to) {
  if (has_wider(rows, selected, from, to)) {
    PyErr_SetString(PyExc_OverflowError,
                    "an entry does not fit a 64-bit integer: ask for sparse=True, whose "
                    "entries are exact Python ints (a scipy.sparse csr_matrix of dtype object)");
    throw py::error_already_set();
  }
  py::array_t<int64_t> m(
      {static_cast<py::ssize_t>(selected.size()), static_cast<py::ssize_t>(to - from)});
  int64_t* data = m.mutable_data();
  std::memset(data, 0, sizeof(int64_t) * selected.size() * (to - from));
  for (size_t i = 0; i < selected.size(); ++i) {
    uint32_t k = selected[i];
    for (uint64_t e = rows.start[k]; e < rows.start[k + 1]; ++e) {
      uint32_t c = rows.column[e];
      if (c >= from && c < to) data[i * (to - from) + (c - from)] = rows.value[e];
    }
  }
  return std::move(m);
}

py::object sparse_matrix(const IntegerRows& rows, const std::vector<uint32_t>& selected,
                         uint32_t from, uint32_t to) {
  bool wide = has_wider(rows, selected, from, to);
  std::vector<int64_t> start{0};
  std::vector<int32_t> column;
  std::vector<int64_t> value;
  py::list exact;
  for (size_t i = 0; i < selected.size(); ++i) {
    uint32_t k = selected[i];
    for (uint64_t e = rows.start[k]; e < rows.start[k + 1]; ++e) {
      uint32_t c = rows.column[e];
      if (c < from || c >= to) continue;
      column.push_back(static_cast<int32_t>(c - from));
      if (wide) {
        exact.append(python_int(rows.at(e)));
      } else {
        value.push_back(rows.value[e]);
      }
    }
    start.push_back(static_cast<int64_t>(column.size()));
  }
  py::module_ scipy = py::module_::import("scipy.sparse");
  py::tuple shape = py::make_tuple(selected.size(), to - from);
  auto array = [](const auto& v) {
    using T = typename std::decay_t<decltype(v)>::value_type;
    return py::array_t<T>(static_cast<py::ssize_t>(v.size()), v.data());
  };
  if (!wide) {
    return scipy.attr("csr_matrix")(py::make_tuple(array(value), array(column), array(start)),
                                    py::arg("shape") = shape);
  }
  // scipy refuses dtype object when asked for it, but keeps it from the data.
  py::object data = py::module_::import("numpy").attr("array")(exact, py::arg("dtype") = "O");
  return scipy.attr("csr_matrix")(py::make_tuple(data, array(column), array(start)),
                                  py::arg("shape") = shape);
}

std::string row_repr(const Row& r) {
  return "Row(species=" + py::repr(r.species).cast<std::string>() +
         ", reactions=" + py::repr(r.reactions).cast<std::string>() + ")";
}

const char kRowDoc[] = R"doc(One row of a result: species and reactions, dicts from name to int.

The terms are in column order, zero terms left out, the coefficients exact
Python ints of any size, as the report prints them.)doc";

const char kRowsDoc[] = R"doc(A sequence of Row, made one by one when asked for.

len(rows), rows[i], rows[i:j] (a list) and iteration; list(rows) makes
them all. The result the rows come from stays in C++ until then.)doc";

}  // namespace

py::object python_int(const Integer& value) {
  if (value.fits_int64()) return py::int_(value.to_int64());
  std::string digits = value.to_string();
  PyObject* n = PyLong_FromString(digits.c_str(), nullptr, 10);
  if (n == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(n);
}

Row RowList::row(size_t i) const {
  Row r;
  py::list species = network->species_names(), reactions = network->reaction_names();
  uint32_t k = every ? static_cast<uint32_t>(i) : selected[i];
  for (uint64_t e = rows->start[k]; e < rows->start[k + 1]; ++e) {
    uint32_t c = rows->column[e];
    bool low = c < layout.split;
    bool is_species = low ? layout.low_species : layout.high_species;
    uint32_t index = low ? c : c - layout.split;
    py::object name = is_species ? species[index] : reactions[index];
    (is_species ? r.species : r.reactions)[name] = python_int(rows->at(e));
  }
  return r;
}

py::object rows_matrix(const IntegerRows& rows, const std::vector<uint32_t>& selected,
                       uint32_t from, uint32_t to, bool sparse) {
  return sparse ? sparse_matrix(rows, selected, from, to) : dense_matrix(rows, selected, from, to);
}

py::str text_of(const std::function<void(const Write&)>& write) {
  size_t size = 0;
  bool ascii = true;
  {
    py::gil_scoped_release release;
    write([&](std::string_view piece) {
      size += piece.size();
      for (char c : piece) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    });
  }
  if (!ascii) {
    std::string text;
    text.reserve(size);
    write([&](std::string_view piece) { text.append(piece); });
    PyObject* s =
        PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "surrogateescape");
    if (s == nullptr) throw py::error_already_set();
    return py::reinterpret_steal<py::str>(s);
  }
  PyObject* s = PyUnicode_New(static_cast<Py_ssize_t>(size), 127);
  if (s == nullptr) throw py::error_already_set();
  py::str result = py::reinterpret_steal<py::str>(s);
  char* at = reinterpret_cast<char*>(PyUnicode_1BYTE_DATA(s));
  {
    py::gil_scoped_release release;
    write([&](std::string_view piece) {
      std::memcpy(at, piece.data(), piece.size());
      at += piece.size();
    });
  }
  return result;
}

void write_text(py::object file, const std::function<void(const Write&)>& write) {
  py::object put = file.attr("write");
  write([&](std::string_view piece) {
    PyObject* s = PyUnicode_DecodeUTF8(piece.data(), static_cast<Py_ssize_t>(piece.size()),
                                       "surrogateescape");
    if (s == nullptr) throw py::error_already_set();
    put(py::reinterpret_steal<py::str>(s));
  });
}

void bind_rows(py::module_& m) {
  py::class_<Row>(m, "Row", kRowDoc)
      .def_readonly("species", &Row::species, "Species terms: name -> int.")
      .def_readonly("reactions", &Row::reactions, "Reaction terms: name -> int.")
      .def("__repr__", &row_repr)
      .def("__eq__", [](const Row& a, const Row& b) {
        return a.species.equal(b.species) && a.reactions.equal(b.reactions);
      });
  py::class_<RowList, std::shared_ptr<RowList>>(m, "Rows", kRowsDoc)
      .def("__len__", &RowList::size)
      .def("__getitem__",
           [](const RowList& rows, int64_t i) {
             auto n = static_cast<int64_t>(rows.size());
             if (i < 0) i += n;
             if (i < 0 || i >= n) throw py::index_error("row index out of range");
             return rows.row(static_cast<size_t>(i));
           })
      .def("__getitem__",
           [](const RowList& rows, const py::slice& slice) {
             size_t start = 0, stop = 0, step = 0, length = 0;
             if (!slice.compute(rows.size(), &start, &stop, &step, &length)) {
               throw py::error_already_set();
             }
             py::list out;
             for (size_t i = 0; i < length; ++i) out.append(rows.row(start + i * step));
             return out;
           })
      .def("__repr__", [](const RowList& rows) {
        return "<crninv.Rows: " + std::to_string(rows.size()) + " rows>";
      });
}

}  // namespace crninv::python
