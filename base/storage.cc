#include "base/storage.h"

#include <gmp.h>

#include <cstdlib>
#include <cstring>

#include "crninv/errors.h"

namespace crninv {

namespace {

// The account of the call running on this thread (see storage.h).
thread_local StorageAccount* current = nullptr;

}  // namespace

StorageAccount::~StorageAccount() {
  for (const Clean& c : clean) free(c.storage);
}

void StorageAccount::count(size_t bytes) {
  if (held_bytes + bytes > limit) throw OutOfMemory();
  held_bytes += bytes;
  if (held_bytes > peak_bytes) peak_bytes = held_bytes;
}

// Storage obtained before the account was in scope may come back while it
// is: the count never goes below zero.
void StorageAccount::uncount(size_t bytes) {
  held_bytes -= bytes < held_bytes ? bytes : held_bytes;
}

AccountScope::AccountScope(StorageAccount& account) : before(current) {
  current = &account;
}

AccountScope::~AccountScope() {
  current = before;
}

void* obtain(size_t bytes) {
  if (bytes == 0) return nullptr;
  if (current != nullptr) current->count(bytes);
  void* p = malloc(bytes);
  if (p == nullptr) {
    if (current != nullptr) current->uncount(bytes);
    throw OutOfMemory();
  }
  return p;
}

void* obtain_zeroed(size_t bytes) {
  if (bytes == 0) return nullptr;
  if (current != nullptr) {
    std::vector<StorageAccount::Clean>& clean = current->clean;
    for (size_t i = clean.size(); i-- > 0;) {
      if (clean[i].bytes != bytes) continue;
      void* p = clean[i].storage;
      clean.erase(clean.begin() + static_cast<ptrdiff_t>(i));
      return p;  // still counted
    }
    current->count(bytes);
  }
  void* p = calloc(1, bytes);
  if (p == nullptr) {
    if (current != nullptr) current->uncount(bytes);
    throw OutOfMemory();
  }
  return p;
}

void give_back(void* storage, size_t bytes) {
  if (storage == nullptr) return;
  free(storage);
  if (current != nullptr) current->uncount(bytes);
}

void give_back_clean(void* storage, size_t bytes) {
  if (storage == nullptr) return;
  if (current != nullptr && current->clean.size() < StorageAccount::kCleanKept) {
    current->clean.push_back({storage, bytes});
    return;
  }
  give_back(storage, bytes);
}

namespace {

// GMP's own functions, which still allocate; the hooks below only count.
struct GmpFunctions {
  void* (*allocate)(size_t);
  void* (*reallocate)(void*, size_t, size_t);
  void (*release)(void*, size_t);
};

GmpFunctions gmp_functions_before() {
  GmpFunctions f;
  mp_get_memory_functions(&f.allocate, &f.reallocate, &f.release);
  return f;
}

const GmpFunctions& before_hooks();

void* gmp_allocate(size_t bytes) {
  if (current != nullptr) current->count(bytes);
  return before_hooks().allocate(bytes);
}

void* gmp_reallocate(void* old, size_t old_bytes, size_t new_bytes) {
  if (current != nullptr) {
    current->count(new_bytes);
    current->uncount(old_bytes);
  }
  return before_hooks().reallocate(old, old_bytes, new_bytes);
}

void gmp_free(void* p, size_t bytes) {
  if (current != nullptr) current->uncount(bytes);
  before_hooks().release(p, bytes);
}

// Read once, before the hooks replace them, and constant after.
const GmpFunctions& before_hooks() {
  static const GmpFunctions functions = gmp_functions_before();
  return functions;
}

}  // namespace

void account_long_integers() {
  static const bool installed = [] {
    before_hooks();
    mp_set_memory_functions(gmp_allocate, gmp_reallocate, gmp_free);
    return true;
  }();
  (void)installed;
}

}  // namespace crninv
