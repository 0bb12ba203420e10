// The handle holder copies in and out and ignores null pointers.
#include <gtest/gtest.h>

#include "foundation/handle_holder.h"

TEST(HandleHolder, StartsNullAndCopiesThroughPointers) {
  KV_HANDLE_HOLDER empty;
  EXPECT_TRUE(empty.IsNull());
  KV_HANDLE_HOLDER fromNull(nullptr);
  EXPECT_TRUE(fromNull.IsNull());

  KV_HANDLE live;
  live.endFlag = 0;
  live.value = 42;
  KV_HANDLE_HOLDER holder(&live);
  EXPECT_FALSE(holder.IsNull());
  KV_HANDLE out;
  holder.Get(&out);
  EXPECT_EQ(out.value, 42u);
  holder.Get(nullptr);
  holder.Set(nullptr);
  EXPECT_FALSE(holder.IsNull());
  KV_HANDLE none;
  holder.Set(&none);
  EXPECT_TRUE(holder.IsNull());
}
