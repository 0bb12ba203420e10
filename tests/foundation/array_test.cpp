// KV_ARRAY: its record layout, the fallback element for out-of-range access, resizing with and
// without keeping, and the cursor after a reallocation.
#include "engine/kv_array.h"
#include "foundation/list.h"
#include "foundation/string.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

TEST(Array, KeepsItsFieldOrder) {
  EXPECT_EQ(offsetof(KV_ARRAY<uint8_t>, count), 0u);
  EXPECT_LT(offsetof(KV_ARRAY<uint8_t>, count), offsetof(KV_ARRAY<uint8_t>, data));
  EXPECT_LT(offsetof(KV_ARRAY<uint8_t>, data), offsetof(KV_ARRAY<uint8_t>, cursor));
  EXPECT_LT(offsetof(KV_ARRAY<uint8_t>, cursor), offsetof(KV_ARRAY<uint8_t>, fallback));
  EXPECT_LT(offsetof(KV_ARRAY<uint8_t>, fallback), offsetof(KV_ARRAY<uint8_t>, shared));
}

TEST(Array, OutOfRangeGivesTheFallback) {
  KV_ARRAY<int> a;
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.Get(0), &a.fallback);
  a.Resize(3);
  EXPECT_EQ(a.Get(2), a.data + 2);
  EXPECT_EQ(a.Get(3), &a.fallback);
  EXPECT_EQ(*a.Get(0), 0);
  *a.Get(100) = 42;
  EXPECT_EQ(*a.Get(7), 42);
  EXPECT_EQ(a.ByteSize(), 12u);
  KV_ARRAY<KV_LIST_ITERATOR<int>> its(2);
  EXPECT_TRUE(its.Get(5)->IsEnd());
  KV_ARRAY<KV_STRING> texts;
  EXPECT_STREQ(texts.Get(0)->c_str(), "");
}

TEST(Array, ResizeLosesAndResizeKeepKeeps) {
  KV_ARRAY<KV_STRING> a(2);
  a.Get(0)->Assign("a");
  a.Get(1)->Assign("b");
  a.ResizeKeep(4);
  EXPECT_EQ(a.Size(), 4u);
  EXPECT_STREQ(a.Get(0)->c_str(), "a");
  EXPECT_STREQ(a.Get(1)->c_str(), "b");
  EXPECT_STREQ(a.Get(3)->c_str(), "");
  a.ResizeKeep(1);
  EXPECT_EQ(a.Size(), 1u);
  EXPECT_STREQ(a.Get(0)->c_str(), "a");
  a.Resize(1);
  EXPECT_STREQ(a.Get(0)->c_str(), "");
  a.ResizeKeep(0);
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.data, nullptr);
  EXPECT_EQ(a.cursor, nullptr);
}

TEST(Array, ReallocationRewindsTheCursor) {
  KV_ARRAY<uint8_t> a(8);
  a.Seek(5, 0);
  EXPECT_EQ(a.Tell(), 5u);
  a.ResizeKeep(16);
  EXPECT_EQ(a.Tell(), 0u);
  EXPECT_EQ(a.Buffer(true), a.Buffer(false));
}

TEST(Array, SeekModesClampAtBothEnds) {
  KV_ARRAY<int> a(3);
  a.Seek(5, 1);
  EXPECT_EQ(a.cursor, a.data);
  a.Seek(1, 1);
  EXPECT_EQ(a.cursor, a.data + 2);
  a.Seek(10, 2);
  EXPECT_EQ(a.cursor, a.data + 3);
  a.Seek(1, 3);
  EXPECT_EQ(a.cursor, a.data + 2);
  a.Seek(10, 3);
  EXPECT_EQ(a.cursor, a.data);
  a.Seek(2, 0);
  EXPECT_EQ(a.cursor, a.data + 2);
  a.Seek(0, 0);
  EXPECT_EQ(a.cursor, a.data);
  a.Seek(8, 4);
  EXPECT_EQ(a.cursor, a.data + 2);
  a.Seek(100, 4);
  EXPECT_EQ(a.cursor, a.data + 3);
  a.Seek(6, 4);  // byte 6 lies in element 1
  EXPECT_EQ(a.cursor, a.data + 1);
  a.Seek(0, 9);
  EXPECT_EQ(a.cursor, a.data + 1);
  KV_ARRAY<int> empty;
  empty.Seek(1, 0);
  EXPECT_EQ(empty.cursor, nullptr);
}

TEST(Array, WriteStopsAtTheEndAndReadReturnsIt) {
  KV_ARRAY<uint8_t> a(8);
  a.Seek(4, 1);
  const char text[] = "0123456789";
  EXPECT_EQ(a.Write(text, 10), 4u);
  EXPECT_EQ(a.Tell(), 8u);
  EXPECT_EQ(a.Write(text, 10), 0u);
  a.Seek(0, 0);
  EXPECT_EQ(a.Write("ab", 2), 2u);
  a.Seek(0, 0);
  char out[16] = {};
  EXPECT_EQ(a.Read(out, 16), 8u);
  EXPECT_EQ(memcmp(out,
                   "ab\0\0"
                   "0123",
                   8),
            0);
  EXPECT_EQ(a.Read(out, 1), 0u);
  EXPECT_EQ(a.Read(out, 0), 0u);
  KV_ARRAY<uint8_t> empty;
  EXPECT_EQ(empty.Write(text, 3), 0u);
  EXPECT_EQ(empty.Read(out, 3), 0u);
}

TEST(Array, WriteOfIndicesCountsElements) {
  KV_ARRAY<uint32_t> a(4);
  const uint32_t values[] = {7, 8, 9};
  a.Seek(2, 0);
  EXPECT_EQ(a.Write(values, 3), 2u);
  EXPECT_EQ(*a.Get(2), 7u);
  EXPECT_EQ(*a.Get(3), 8u);
  EXPECT_EQ(a.Tell(), 16u);
}

TEST(Array, CopyHasItsOwnBlock) {
  KV_ARRAY<KV_STRING> a(2);
  a.Get(1)->Assign("x");
  a.fallback.Assign("fb");
  KV_ARRAY<KV_STRING> b(a);
  EXPECT_NE(a.data, b.data);
  EXPECT_STREQ(b.Get(1)->c_str(), "x");
  EXPECT_STREQ(b.Get(9)->c_str(), "fb");
  b.Get(1)->Assign("y");
  EXPECT_STREQ(a.Get(1)->c_str(), "x");
  KV_ARRAY<KV_STRING> c(5);
  c = a;
  EXPECT_EQ(c.Size(), 2u);
  EXPECT_EQ(c.cursor, c.data);
}
