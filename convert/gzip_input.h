// A file read as it is or, when it is gzip-compressed, uncompressed on the
// way (zlib tells the two apart by their first bytes).
#ifndef CRNINV_CONVERT_GZIP_INPUT_H_
#define CRNINV_CONVERT_GZIP_INPUT_H_

#include <zlib.h>

#include <cstddef>
#include <stdexcept>
#include <string>

namespace crninv::convert {

// Why the file cannot be read: "cannot open: ..." or "cannot read: ...".
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class GzipInput {
 public:
  // Throws InputError when the file cannot be opened.
  explicit GzipInput(const char* path);
  ~GzipInput();
  GzipInput(const GzipInput&) = delete;
  GzipInput& operator=(const GzipInput&) = delete;

  // Fills buffer with up to size bytes of the (uncompressed) text; returns
  // how many, 0 at the end. Throws InputError on a read error or a damaged
  // or truncated compressed file.
  size_t read(void* buffer, size_t size);

 private:
  std::string zlib_message();

  std::string path;
  gzFile file;
};

}  // namespace crninv::convert

#endif  // CRNINV_CONVERT_GZIP_INPUT_H_
