// Where the entries of rows live, and an account of the bytes they hold.
//
// The reduction's memory follows its fill: rows grow and shrink as the
// elimination runs. Every byte that rows obtain is counted, and a run that
// would pass the limit set for it ends through the new-handler (the
// driver's "Out of memory") before the machine runs short, rather than at
// the hands of the kernel's out-of-memory killer later on.
#ifndef CRNINV_ALGEBRA_ROW_STORAGE_H_
#define CRNINV_ALGEBRA_ROW_STORAGE_H_

#include <cstddef>
#include <cstdint>

// bytes of storage, uninitialized, or reading as zero. Fails the way
// operator new does: through the new-handler, else std::bad_alloc; also
// when the account would pass its limit.
void* obtain(size_t bytes);
void* obtain_zeroed(size_t bytes);

// Gives back storage from obtain or obtain_zeroed with the same byte count.
// Null is ignored.
void give_back(void* storage, size_t bytes);

// Bytes that rows may hold together; no limit until one is set.
void set_storage_limit(uint64_t bytes);
// Bytes that rows hold now, and the most they have held at once.
uint64_t storage_held();
uint64_t storage_peak();

// Makes GMP's integers take their limbs from the same account, so that the
// long integers of a wide reduction count too.
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

#endif  // CRNINV_ALGEBRA_ROW_STORAGE_H_
