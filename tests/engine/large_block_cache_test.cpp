// Large byte blocks kept for reuse after their array freed them.
#include "engine/large_block_cache.h"

#include <gtest/gtest.h>

#include "engine/kv_array.h"

namespace {

constexpr unsigned int kLarge = 16u * 1024 * 1024;

// Empties the cache, so that a test starts from nothing kept.
void Forget() { delete[] kv::engine::keptBlock.exchange(nullptr); }

TEST(LargeBlockCache, AFreedLargeByteArrayIsHandedOnceToARequestItFits) {
  Forget();
  unsigned char* first;
  {
    KV_ARRAY<unsigned char> bytes(kLarge);
    first = bytes.data;
    bytes.data[kLarge - 1] = 7;
  }
  // A request much smaller than the block, or larger than it, leaves it kept.
  EXPECT_EQ(kv::engine::TakeByteBlock(kLarge / 4), nullptr);
  EXPECT_EQ(kv::engine::TakeByteBlock(kLarge + 4096), nullptr);
  unsigned char* again = kv::engine::TakeByteBlock(kLarge - 100);
  ASSERT_EQ(again, first);
  EXPECT_EQ(again[kLarge - 1], 7);  // the same pages, as they were left
  // Taken means gone from the cache: a second request gets none, so no two owners share it.
  EXPECT_EQ(kv::engine::TakeByteBlock(kLarge - 100), nullptr);
  delete[] again;
}

TEST(LargeBlockCache, KeepsOnlyTheLastLargeBlockAndNoSmallOrHugeOne) {
  Forget();
  unsigned char* last;
  {
    KV_ARRAY<unsigned char> small(1024 * 1024);
    KV_ARRAY<unsigned char> a(kLarge);
    KV_ARRAY<unsigned char> b(kLarge);
    last = a.data;
    b.Free();  // b is kept; a, freed later, takes its place and b goes back to the system
  }
  EXPECT_EQ(kv::engine::keptBlock.load(), last);
  Forget();
  { KV_ARRAY<unsigned char> small(1024 * 1024); }
  EXPECT_EQ(kv::engine::keptBlock.load(), nullptr);
  kv::engine::ReleaseByteBlock(new unsigned char[300u * 1024 * 1024]);
  EXPECT_EQ(kv::engine::keptBlock.load(), nullptr);
  // Arrays of other elements free their blocks as before.
  { KV_ARRAY<int> ints(kLarge / 4); }
  EXPECT_EQ(kv::engine::keptBlock.load(), nullptr);
}

}  // namespace
