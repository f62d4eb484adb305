// Row storage: always zero when obtained, never shared between two live
// rows, and every packed region returned once its rows are given back.
#include "algebra/row_storage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Piece {
  unsigned char* bytes;
  size_t size;
};

// Every byte of the piece is value (a piece of no bytes passes).
bool all_equal(const Piece& piece, unsigned char value) {
  return piece.size == 0 ||
         (piece.bytes[0] == value && memcmp(piece.bytes, piece.bytes + 1, piece.size - 1) == 0);
}

// Obtains one piece per size, checks it reads zero, then fills each with a
// byte of its own; no piece may see another's byte afterwards.
std::vector<Piece> obtain_and_fill(const std::vector<size_t>& sizes) {
  std::vector<Piece> pieces;
  for (size_t size : sizes) {
    Piece piece{static_cast<unsigned char*>(obtain_zeroed(size)), size};
    EXPECT_TRUE(all_equal(piece, 0)) << "size " << size;
    pieces.push_back(piece);
  }
  for (size_t k = 0; k < pieces.size(); ++k)
    memset(pieces[k].bytes, int(k % 250) + 1, pieces[k].size);
  for (size_t k = 0; k < pieces.size(); ++k) {
    const Piece& p = pieces[k];
    bool intact = true;
    for (size_t i = 0; i < p.size; ++i) intact = intact && p.bytes[i] == (k % 250) + 1;
    EXPECT_TRUE(intact) << "piece " << k << " of " << p.size << " bytes was overwritten";
  }
  return pieces;
}

void give_all_back(std::vector<Piece>& pieces) {
  for (const Piece& p : pieces) give_back(p.bytes, p.size);
  pieces.clear();
}

const std::vector<size_t> kSizes = {0,         1,     63,    64,     100,
                                    16383,     16384, 16385, 100000, size_t{1} << 20,
                                    33u << 20, 7,     20000, 4096,   (32u << 20) - 64};

// Every mode: before any hint (rows from 16 KiB packed), a matrix that fits
// (everything packed), and one too large (nothing packed).
class RowStorageModes : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (GetParam() == 1) expect_rows(1000, 20000);
    if (GetParam() == 2) expect_rows(100000, 20000);
  }
};

TEST_P(RowStorageModes, PiecesAreZeroAndSeparate) {
  std::vector<Piece> pieces = obtain_and_fill(kSizes);
  give_all_back(pieces);
  EXPECT_EQ(packed_bytes_mapped(), 0u);
}

// Storage given back dirty must never come back dirty.
TEST_P(RowStorageModes, ReusedStorageIsZeroAgain) {
  for (int round = 0; round < 3; ++round) {
    std::vector<Piece> pieces = obtain_and_fill(kSizes);
    give_all_back(pieces);
  }
  // Interleaved: one long-lived piece keeps its region mapped while others
  // come and go around it.
  std::vector<Piece> keep = obtain_and_fill({30000});
  for (int round = 0; round < 50; ++round) {
    std::vector<Piece> pieces = obtain_and_fill({30000, 1000, 500000});
    give_all_back(pieces);
  }
  give_all_back(keep);
  EXPECT_EQ(packed_bytes_mapped(), 0u);
}

INSTANTIATE_TEST_SUITE_P(All, RowStorageModes, ::testing::Values(0, 1, 2));

TEST(RowStorage, PackingFollowsTheHint) {
  struct Case {
    uint64_t count, bytes_each;
    bool packed;
  };
  const Case cases[] = {
      {3000, 20000, true},    // about 60 MB
      {13000, 20000, true},   // just under the budget
      {14000, 20000, false},  // just over it
      {2000, 400, false},     // below one huge page: not worth a region
      {6000, 400, true},      // small rows of a matrix that fills one
      {1, 40u << 20, false},  // a row larger than a region
      {0, 20000, false},
  };
  for (const Case& c : cases) {
    expect_rows(c.count, c.bytes_each);
    void* p = obtain_zeroed(static_cast<size_t>(c.bytes_each));
    EXPECT_EQ(packed_bytes_mapped() != 0, c.packed) << c.count << " x " << c.bytes_each;
    give_back(p, static_cast<size_t>(c.bytes_each));
    EXPECT_EQ(packed_bytes_mapped(), 0u);
  }
}

// Rows that outgrow the budget still get storage; the regions stay within it.
TEST(RowStorage, BudgetBoundsTheRegions) {
  expect_rows(1000, 20000);
  std::vector<Piece> pieces;
  size_t each = size_t{3} << 20;
  for (size_t total = 0; total < kPackedBudget + (size_t{64} << 20); total += each) {
    pieces.push_back({static_cast<unsigned char*>(obtain_zeroed(each)), each});
    pieces.back().bytes[0] = 1;
    pieces.back().bytes[each - 1] = 1;
    EXPECT_LE(packed_bytes_mapped(), kPackedBudget);
  }
  EXPECT_EQ(packed_bytes_mapped(), kPackedBudget);
  give_all_back(pieces);
  EXPECT_EQ(packed_bytes_mapped(), 0u);
}

}  // namespace
