// Packed colour words taken apart: byte order, scale and unknown letters.
#include "app/colors.h"

#include <gtest/gtest.h>

TEST(Colors, ComponentsComeFromTheirBytes) {
  uint32_t word = 0x80FF0000u;  // alpha 128, blue 255, green and red 0
  EXPECT_EQ(KvColorComponent(word, 'r'), 0.0);
  EXPECT_EQ(KvColorComponent(word, 'G'), 0.0);
  EXPECT_EQ(KvColorComponent(word, 'b'), 1.0);
  EXPECT_EQ(KvColorComponent(word, 'A'), 128 / 255.0);
  EXPECT_EQ(KvColorComponent(0x00000033u, 'R'), 0x33 / 255.0);
  EXPECT_EQ(KvColorComponent(0x00004400u, 'g'), 0x44 / 255.0);
  EXPECT_EQ(KvColorComponent(0xFFFFFFFFu, 'x'), 0.0);
}
