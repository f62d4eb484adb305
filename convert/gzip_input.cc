#include "convert/gzip_input.h"

#include <cerrno>
#include <climits>
#include <cstring>

namespace crninv::convert {

GzipInput::GzipInput(const char* path) : path(path), file(gzopen(path, "rb")) {
  // gzopen leaves errno as open() set it, or 0 when zlib had no memory.
  if (file == nullptr) {
    throw InputError(std::string("cannot open: ") +
                     (errno != 0 ? strerror(errno) : "out of memory"));
  }
}

GzipInput::~GzipInput() {
  gzclose(file);
}

// zlib's message without the path that zlib puts in front of it.
std::string GzipInput::zlib_message() {
  int code = Z_OK;
  std::string message = gzerror(file, &code);
  if (code == Z_ERRNO) return strerror(errno);
  if (message.compare(0, path.size() + 2, path + ": ") == 0) message.erase(0, path.size() + 2);
  return message;
}

size_t GzipInput::read(void* buffer, size_t size) {
  errno = 0;
  int n = gzread(file, buffer, static_cast<unsigned>(size < INT_MAX ? size : INT_MAX));
  int code = Z_OK;
  gzerror(file, &code);
  // A compressed stream cut short reads as its end, with an error left.
  if (n > 0 || (n == 0 && (code == Z_OK || code == Z_STREAM_END))) return static_cast<size_t>(n);
  throw InputError("cannot read: " + zlib_message());
}

}  // namespace crninv::convert
