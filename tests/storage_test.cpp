// The account of the bytes that a computation holds, and its limit: per
// call, per thread, and for GMP's integers too.
#include "base/storage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "crninv/errors.h"
#include "rows/row.h"

namespace {

using namespace crninv;

TEST(Storage, TheAccountFollowsEveryRow) {
  StorageAccount account;
  AccountScope scope(account);
  {
    Row rows[3];
    for (Row& row : rows) {
      row.resize(5000);
      // Long enough to take the dense form, then short again.
      for (uint32_t j = 0; j < 5000; j += 3) row.add(j, 1);
    }
    EXPECT_GT(account.held(), 3 * 5000 * sizeof(int32_t));
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
  EXPECT_LE(account.held(), 64 * (5000 * sizeof(int32_t) + 1024));
  EXPECT_GE(account.peak(), 3 * 5000 * sizeof(int32_t));
}

TEST(Storage, ObtainedStorageReadsZeroWhenAsked) {
  StorageAccount account;
  AccountScope scope(account);
  auto* p = static_cast<unsigned char*>(obtain_zeroed(1 << 20));
  size_t nonzero = 0;
  for (size_t i = 0; i < (1 << 20); ++i) nonzero += p[i] != 0;
  EXPECT_EQ(nonzero, 0u);
  // Given back clean, it serves the next request of its size, still zero.
  give_back_clean(p, 1 << 20);
  auto* q = static_cast<unsigned char*>(obtain_zeroed(1 << 20));
  EXPECT_EQ(q, p);
  EXPECT_EQ(q[12345], 0);
  give_back(q, 1 << 20);
  EXPECT_EQ(obtain(0), nullptr);
  EXPECT_EQ(account.held(), 0u);
}

TEST(Storage, PassingTheLimitThrowsAndCountsNothing) {
  StorageAccount account(1 << 20);
  AccountScope scope(account);
  void* fits = obtain(1 << 19);
  EXPECT_THROW(obtain(1 << 20), OutOfMemory);
  EXPECT_EQ(account.held(), uint64_t{1} << 19);
  give_back(fits, 1 << 19);
  EXPECT_EQ(account.held(), 0u);
}

TEST(Storage, ContainersAndLongIntegersKeepTheAccount) {
  account_long_integers();
  StorageAccount account;
  AccountScope scope(account);
  {
    std::vector<uint64_t, Accounted<uint64_t>> v(100000, 7);
    EXPECT_GE(account.held(), 100000 * sizeof(uint64_t));
    v.resize(200000);
    EXPECT_EQ(v[150000], 0u);
  }
  EXPECT_EQ(account.held(), 0u);
  {
    mpz_class big = mpz_class(1) << 100000;
    EXPECT_GE(account.held(), 100000 / 8);
  }
  EXPECT_EQ(account.held(), 0u);
}

// Each thread counts in the account of its own call; outside one, nothing
// is counted.
TEST(Storage, EachThreadHasItsOwnAccount) {
  StorageAccount mine;
  uint64_t theirs_held = 0;
  {
    AccountScope scope(mine);
    std::thread other([&] {
      StorageAccount theirs;
      AccountScope their_scope(theirs);
      void* p = obtain(3000);
      theirs_held = theirs.held();
      give_back(p, 3000);
    });
    void* q = obtain(1000);
    other.join();
    EXPECT_EQ(mine.held(), 1000u);
    give_back(q, 1000);
  }
  EXPECT_EQ(theirs_held, 3000u);
  void* outside = obtain(500);
  give_back(outside, 500);
  EXPECT_EQ(mine.held(), 0u);
}

}  // namespace
