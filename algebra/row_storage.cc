#include "algebra/row_storage.h"

#include <gmp.h>

#include <cstdlib>
#include <cstring>
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

namespace {

void* gmp_allocate(size_t bytes) {
  return obtain(bytes);
}

void* gmp_reallocate(void* old, size_t old_bytes, size_t new_bytes) {
  void* p = obtain(new_bytes);
  memcpy(p, old, old_bytes < new_bytes ? old_bytes : new_bytes);
  give_back(old, old_bytes);
  return p;
}

void gmp_free(void* p, size_t bytes) {
  give_back(p, bytes);
}

}  // namespace

void account_long_integers() {
  mp_set_memory_functions(gmp_allocate, gmp_reallocate, gmp_free);
}
