// Where the data of a computation lives, and an account of the bytes it
// holds.
//
// A reduction's memory follows its fill: rows grow and shrink as the
// elimination runs. Every byte that rows, vectors of the semiflows and GMP's
// long integers obtain is counted in the account of the call at hand, and a
// call that would pass its limit throws OutOfMemory before the machine runs
// short, rather than meeting the kernel's out-of-memory killer later on.
//
// The account of the running call is reached through one thread-local
// pointer, set by an AccountScope at the start of the call: GMP takes its
// allocation functions process-wide, with no room for a context of its own,
// so its allocations can find their call no other way. It is the library's
// only mutable state outside the objects a caller holds; two calls in two
// threads each count in their own account.
#ifndef CRNINV_BASE_STORAGE_H_
#define CRNINV_BASE_STORAGE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace crninv {

class StorageAccount {
 public:
  explicit StorageAccount(uint64_t limit = UINT64_MAX) : limit(limit) {}
  ~StorageAccount();
  StorageAccount(const StorageAccount&) = delete;
  StorageAccount& operator=(const StorageAccount&) = delete;

  // Bytes held now, and the most held at once.
  uint64_t held() const { return held_bytes; }
  uint64_t peak() const { return peak_bytes; }

  // Counts bytes taken (throws OutOfMemory past the limit, counting
  // nothing) and bytes given back.
  void count(size_t bytes);
  void uncount(size_t bytes);

 private:
  friend void* obtain_zeroed(size_t bytes);
  friend void give_back_clean(void* storage, size_t bytes);

  // Zeroed arrays given back clean, kept for the next request of their
  // size: a dense row that turns sparse again clears only its nonzero
  // entries, so that changing form costs what the row holds, not its
  // length.
  struct Clean {
    void* storage;
    size_t bytes;
  };
  static constexpr size_t kCleanKept = 64;
  std::vector<Clean> clean;
  uint64_t limit;
  uint64_t held_bytes = 0;
  uint64_t peak_bytes = 0;
};

// Makes account the one that this thread's allocations count in, for the
// life of the scope; the one before comes back after.
class AccountScope {
 public:
  explicit AccountScope(StorageAccount& account);
  ~AccountScope();
  AccountScope(const AccountScope&) = delete;
  AccountScope& operator=(const AccountScope&) = delete;

 private:
  StorageAccount* before;
};

// bytes of storage, uninitialized, or reading as zero. Throw OutOfMemory
// when the account would pass its limit or the system has none left.
// Without an account in scope they count nowhere.
void* obtain(size_t bytes);
void* obtain_zeroed(size_t bytes);

// Gives back storage from obtain or obtain_zeroed with the same byte count.
// Null is ignored.
void give_back(void* storage, size_t bytes);
// The same, for storage that reads as zero again: it may serve the next
// obtain_zeroed of its size.
void give_back_clean(void* storage, size_t bytes);

// Makes GMP's integers take their limbs through the account in scope, so
// that the long integers of a wide reduction count too. Idempotent; GMP's
// allocation functions before it still do the allocating.
void account_long_integers();

// An allocator for standard containers whose bytes count in the same
// account: std::vector<T, Accounted<T>>.
template <typename T>
struct Accounted {
  using value_type = T;
  Accounted() = default;
  template <typename U>
  Accounted(const Accounted<U>&) {}
  T* allocate(size_t n) { return static_cast<T*>(obtain(n * sizeof(T))); }
  void deallocate(T* p, size_t n) { give_back(p, n * sizeof(T)); }
  template <typename U>
  bool operator==(const Accounted<U>&) const {
    return true;
  }
  template <typename U>
  bool operator!=(const Accounted<U>&) const {
    return false;
  }
};

template <typename T>
using AccountedVector = std::vector<T, Accounted<T>>;

}  // namespace crninv

#endif  // CRNINV_BASE_STORAGE_H_
