#include "algebra/row_storage.h"

#include <cstdlib>
#include <new>

namespace {

uint64_t limit = UINT64_MAX;
uint64_t held = 0;
uint64_t peak = 0;

// The way operator new fails: the new-handler, which may free memory and
// return for another try, or end the run; without one, an exception.
void fail() {
  std::new_handler handler = std::get_new_handler();
  if (handler == nullptr) throw std::bad_alloc();
  handler();
}

template <typename Allocate>
void* account(size_t bytes, Allocate allocate) {
  if (bytes == 0) return nullptr;
  for (;;) {
    void* p = held + bytes <= limit ? allocate() : nullptr;
    if (p != nullptr) {
      held += bytes;
      if (held > peak) peak = held;
      return p;
    }
    fail();
  }
}

}  // namespace

void* obtain(size_t bytes) {
  return account(bytes, [&] { return malloc(bytes); });
}

void* obtain_zeroed(size_t bytes) {
  return account(bytes, [&] { return calloc(1, bytes); });
}

void give_back(void* storage, size_t bytes) {
  if (storage == nullptr) return;
  free(storage);
  held -= bytes;
}

void set_storage_limit(uint64_t bytes) {
  limit = bytes;
}

uint64_t storage_held() {
  return held;
}

uint64_t storage_peak() {
  return peak;
}
