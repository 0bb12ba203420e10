// KV_VARIANT: its kinds and accessors, and the conversions between strings and numbers.
#include "foundation/variant.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Variant, KindsAndAccessors) {
  KV_VARIANT none;
  EXPECT_TRUE(none.IsNone());
  EXPECT_EQ(none.GetType(), 0);
  EXPECT_EQ(none.GetString(), nullptr);
  EXPECT_EQ(none.GetNumber(), 0.0);
  KV_VARIANT number(2.5);
  EXPECT_TRUE(number.IsNumber());
  EXPECT_EQ(number.GetType(), 'n');
  EXPECT_EQ(number.GetNumber(), 2.5);
  EXPECT_EQ(number.GetString(), nullptr);
  KV_VARIANT text("abc");
  EXPECT_TRUE(text.IsString());
  EXPECT_EQ(text.GetType(), 's');
  EXPECT_STREQ(text.GetString(), "abc");
  EXPECT_EQ(text.GetNumber(), 0.0);
  EXPECT_TRUE(KV_VARIANT(KV_STRING("s")).IsString());
  EXPECT_TRUE(KV_VARIANT(KV_NUMBER(1)).IsNumber());
}

TEST(Variant, StringReadsAsTypedLiteralDouble) {
  EXPECT_EQ(KV_VARIANT("2.5").AsNumber().Get(), 2.5);
  EXPECT_EQ(KV_VARIANT("abc").AsNumber().Get(), 0.0);
  EXPECT_EQ(KV_VARIANT("").AsNumber().Get(), 0.0);
  EXPECT_EQ((double)KV_VARIANT("-4"), -4.0);
  EXPECT_EQ((double)KV_VARIANT(), 0.0);
  EXPECT_EQ(KV_VARIANT().AsNumber().Get(), 0.0);
}

TEST(Variant, NumberPrintsWithSixDecimals) {
  EXPECT_STREQ(KV_VARIANT(1.5).AsString().c_str(), "1.500000");
  EXPECT_STREQ(KV_VARIANT().AsString().c_str(), "");
  EXPECT_STREQ(KV_VARIANT("x y").AsString().c_str(), "x y");
}

TEST(Variant, TextPointerOutlivesTheCall) {
  KV_VARIANT number(3.0);
  const char* p = number;
  EXPECT_STREQ(p, "3.000000");
  KV_VARIANT text("keep");
  const char* q = text;
  EXPECT_STREQ(q, "keep");
  EXPECT_EQ((const char*)KV_VARIANT(), nullptr);
}

TEST(Variant, CopiesOwnTheirPayload) {
  KV_VARIANT a("text");
  KV_VARIANT b(a);
  EXPECT_NE(a.payload, b.payload);
  EXPECT_TRUE(a == b);
  b = 7.0;
  EXPECT_TRUE(b.IsNumber());
  a = b;
  EXPECT_EQ(a.GetNumber(), 7.0);
  const KV_VARIANT& itself = a;
  a = itself;
  EXPECT_EQ(a.GetNumber(), 7.0);
  a = KV_VARIANT();
  EXPECT_TRUE(a.IsNone());
  EXPECT_EQ(a.payload, nullptr);
  a = "s";
  a = KV_STRING("t");
  EXPECT_STREQ(a.GetString(), "t");
  a = KV_NUMBER(4);
  EXPECT_EQ(a.GetNumber(), 4.0);
}

TEST(Variant, Equality) {
  EXPECT_TRUE(KV_VARIANT() == KV_VARIANT());
  EXPECT_TRUE(KV_VARIANT() != KV_VARIANT(0.0));
  EXPECT_TRUE(KV_VARIANT(1.0) == KV_VARIANT(1.0));
  EXPECT_TRUE(KV_VARIANT(1.0) != KV_VARIANT("1"));
  EXPECT_TRUE(KV_VARIANT("a") == KV_VARIANT("a"));
  EXPECT_TRUE(KV_VARIANT("a") != KV_VARIANT("A"));
}

TEST(Variant, ClearEmptiesAndNotOwnedPayloadIsLeftAlone) {
  KV_VARIANT v("x");
  v.Clear();
  EXPECT_TRUE(v.IsNone());
  KV_NUMBER held(9.0);
  {
    KV_VARIANT borrowed;
    borrowed.payload = &held;
    borrowed.kind = 1;
    borrowed.notOwned = 1;
    EXPECT_EQ(borrowed.GetNumber(), 9.0);
  }
  EXPECT_EQ(held.Get(), 9.0);
}
