// The account of the bytes that rows hold, and its limit.
#include "algebra/row_storage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <vector>

#include "algebra/row.h"

namespace {

TEST(RowStorage, TheAccountFollowsEveryRow) {
  uint64_t before = storage_held();
  {
    Row rows[3];
    for (Row& row : rows) {
      row.resize(5000);
      // Long enough to take the dense form, then short again.
      for (uint32_t j = 0; j < 5000; j += 3) row.add(j, 1);
    }
    EXPECT_GT(storage_held(), before + 3 * 5000 * sizeof(int32_t));
    for (Row& row : rows) {
      for (uint32_t j = 0; j < 5000; j += 3) row.add(j, -1);
    }
  }
  // Dense arrays may be kept for reuse, cleared, but nothing else.
  Row probe;
  probe.resize(5000);
  for (uint32_t j = 0; j < 5000; j += 3) probe.add(j, 1);
  for (uint32_t j = 0; j < 5000; j += 3) EXPECT_EQ(probe.get(j), 1);
  for (uint32_t j = 1; j < 5000; j += 3) EXPECT_EQ(probe.get(j), 0);
  probe.resize(0);
  EXPECT_LE(storage_held(), before + 64 * (5000 * sizeof(int32_t) + 1024));
}

TEST(RowStorage, ObtainedStorageReadsZeroWhenAsked) {
  auto* p = static_cast<unsigned char*>(obtain_zeroed(1 << 20));
  size_t nonzero = 0;
  for (size_t i = 0; i < (1 << 20); ++i) nonzero += p[i] != 0;
  EXPECT_EQ(nonzero, 0u);
  give_back(p, 1 << 20);
  EXPECT_EQ(obtain(0), nullptr);
}

TEST(RowStorageDeath, PassingTheLimitCallsTheNewHandler) {
  EXPECT_EXIT(
      {
        std::set_new_handler([] {
          fputs("Out of memory\n", stderr);
          exit(1);
        });
        set_storage_limit(storage_held() + (1 << 20));
        void* fits = obtain(1 << 19);
        give_back(fits, 1 << 19);
        obtain(2 << 20);
      },
      testing::ExitedWithCode(1), "^Out of memory\n$");
}

TEST(RowStorage, WithoutAHandlerTheLimitThrows) {
  std::new_handler old = std::set_new_handler(nullptr);
  set_storage_limit(storage_held() + 1000);
  EXPECT_THROW(obtain(2000), std::bad_alloc);
  set_storage_limit(UINT64_MAX);
  std::set_new_handler(old);
}

TEST(RowStorage, ContainersCanKeepTheAccount) {
  uint64_t before = storage_held();
  {
    std::vector<uint64_t, Accounted<uint64_t>> v(100000, 7);
    EXPECT_GE(storage_held(), before + 100000 * sizeof(uint64_t));
    v.resize(200000);
    EXPECT_EQ(v[150000], 0u);
  }
  EXPECT_EQ(storage_held(), before);
}

}  // namespace
