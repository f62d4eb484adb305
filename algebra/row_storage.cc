#include "algebra/row_storage.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#define CRNINV_HAVE_MMAP 1
#else
#define CRNINV_HAVE_MMAP 0
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CRNINV_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define CRNINV_ASAN 1
#endif
#ifdef CRNINV_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace {

// Below this a row comes from calloc: a mapping of its own would waste most
// of a page, and such rows are too short for translation misses to matter.
constexpr size_t kMapBytes = 16 * 1024;

#if CRNINV_HAVE_MMAP

constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kRegionBytes = size_t{32} << 20;
constexpr int kMaxRegions = static_cast<int>(kPackedBudget / kRegionBytes);
// Packed rows start on a cache line, so that a block of entries never
// straddles two lines. Sanitizer builds leave a poisoned gap between rows.
constexpr size_t kAlign = 64;
#ifdef CRNINV_ASAN
constexpr size_t kGap = kAlign;
#else
constexpr size_t kGap = 0;
#endif

// Rows are carved from a region in order and never reused in place: a region
// is unmapped once every row in it has been given back, and fresh mappings
// read as zero, so nothing is ever cleared by hand.
struct Region {
  char* base = nullptr;  // null: the slot is free
  size_t used = 0;       // bytes carved so far
  size_t live = 0;       // rows not yet given back
};

Region regions[kMaxRegions];
int current = -1;  // the region new rows are carved from, or -1
// Rows of at least pack_from bytes are carved while the budget lasts; the
// others come from calloc, or from mappings of their own from kMapBytes on.
size_t pack_from = kMapBytes;

size_t carved_size(size_t bytes) {
  return (bytes + kGap + kAlign - 1) / kAlign * kAlign;
}

void* map_anonymous(size_t bytes) {
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : p;
}

// A region that starts on a huge-page boundary, which the kernel needs
// before it backs the region with huge pages; null when none can be mapped.
char* map_region() {
  size_t span = kRegionBytes + kHugePage;
  char* p = static_cast<char*>(map_anonymous(span));
  if (p == nullptr) return nullptr;
  uintptr_t start = (reinterpret_cast<uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
  size_t head = start - reinterpret_cast<uintptr_t>(p);
  if (head != 0) munmap(p, head);
  if (span - head - kRegionBytes != 0) {
    munmap(p + head + kRegionBytes, span - head - kRegionBytes);
  }
#ifdef MADV_HUGEPAGE
  madvise(p + head, kRegionBytes, MADV_HUGEPAGE);  // only advice: 4 KiB pages work too
#endif
  return p + head;
}

// Room for bytes in a region, or null when the budget is spent.
void* carve(size_t bytes) {
  size_t need = carved_size(bytes);
  if (bytes < pack_from || need > kRegionBytes) return nullptr;
  if (current < 0 || regions[current].used + need > kRegionBytes) {
    current = -1;
    for (int k = 0; k < kMaxRegions && current < 0; ++k) {
      if (regions[k].base != nullptr) continue;
      regions[k].base = map_region();
      if (regions[k].base == nullptr) return nullptr;
      regions[k].used = 0;
      regions[k].live = 0;
      current = k;
    }
    if (current < 0) return nullptr;
  }
  Region& r = regions[current];
  char* p = r.base + r.used;
  r.used += need;
  ++r.live;
#ifdef CRNINV_ASAN
  __asan_poison_memory_region(p + bytes, need - bytes);
#endif
  return p;
}

// True when storage was carved from a region; the region then loses a row.
bool give_back_carved(void* storage, size_t bytes) {
  char* p = static_cast<char*>(storage);
  for (int k = 0; k < kMaxRegions; ++k) {
    Region& r = regions[k];
    if (r.base == nullptr || p < r.base || p >= r.base + kRegionBytes) continue;
#ifdef CRNINV_ASAN
    __asan_poison_memory_region(p, bytes);
#else
    (void)bytes;
#endif
    if (--r.live == 0) {
#ifdef CRNINV_ASAN
      __asan_unpoison_memory_region(r.base, kRegionBytes);
#endif
      munmap(r.base, kRegionBytes);
      r.base = nullptr;
      if (current == k) current = -1;
    }
    return true;
  }
  return false;
}

#endif  // CRNINV_HAVE_MMAP

}  // namespace

void* obtain_zeroed(size_t bytes) {
  for (;;) {
    void* p = nullptr;
#if CRNINV_HAVE_MMAP
    p = carve(bytes);
    if (p == nullptr && bytes >= kMapBytes) p = map_anonymous(bytes);
#endif
    if (p == nullptr && bytes < kMapBytes) p = std::calloc(bytes == 0 ? 1 : bytes, 1);
    if (p != nullptr) return p;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void give_back(void* storage, size_t bytes) {
  if (storage == nullptr) return;
#if CRNINV_HAVE_MMAP
  if (give_back_carved(storage, bytes)) return;
  if (bytes >= kMapBytes) {
    munmap(storage, bytes);
    return;
  }
#endif
  std::free(storage);
}

void expect_rows(uint64_t count, uint64_t bytes_each) {
#if CRNINV_HAVE_MMAP
  // A matrix below one huge page gains nothing from a region.
  bool fits = bytes_each != 0 && bytes_each <= kRegionBytes &&
              count <= kPackedBudget / carved_size(bytes_each) &&
              count * carved_size(bytes_each) >= kHugePage;
  pack_from = fits ? 1 : SIZE_MAX;
#else
  (void)count;
  (void)bytes_each;
#endif
}

size_t packed_bytes_mapped() {
  size_t total = 0;
#if CRNINV_HAVE_MMAP
  for (const Region& r : regions) total += r.base != nullptr ? kRegionBytes : 0;
#endif
  return total;
}
