// Uncleared blocks: a skewed block starts that many bytes past a cache line whatever the
// allocator gives, every byte of it can be written, and a moved block leaves an empty one.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "platform/runtime/byte_block.h"

using platform::ByteBlock;

TEST(ByteBlock, ASkewedBlockStartsThatFarPastACacheLine) {
  for (size_t skew : {0u, 8u, 16u, 48u}) {
    for (size_t size : {1u, 63u, 64u, 4096u, 1000003u}) {
      SCOPED_TRACE(testing::Message() << "skew " << skew << ", size " << size);
      ByteBlock block;
      ASSERT_TRUE(block.Allocate(size, skew));
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block.data()) % ByteBlock::kLine, skew);
      ASSERT_EQ(block.size(), size);
      // The whole block is ours (the address sanitizer checks the ends).
      std::memset(block.data(), 0x5a, size);
      EXPECT_EQ(block.data()[size - 1], 0x5a);
    }
  }
}

TEST(ByteBlock, EmptyAndMovedBlocksHoldNothing) {
  ByteBlock block;
  EXPECT_TRUE(block.empty());
  EXPECT_EQ(block.data(), nullptr);
  EXPECT_TRUE(block.Allocate(0));
  EXPECT_TRUE(block.empty());
  ASSERT_TRUE(block.Allocate(100, 16));
  uint8_t* data = block.data();
  ByteBlock moved = std::move(block);
  EXPECT_EQ(moved.data(), data);
  EXPECT_EQ(moved.size(), 100u);
  EXPECT_TRUE(block.empty());
  EXPECT_EQ(block.data(), nullptr);
  ByteBlock other;
  ASSERT_TRUE(other.Allocate(10));
  other = std::move(moved);
  EXPECT_EQ(other.data(), data);
  EXPECT_TRUE(moved.empty());
  other.Clear();
  EXPECT_TRUE(other.empty());
  EXPECT_EQ(other.data(), nullptr);
}
