// Resource blocks of modules: the engine module's logo, a missing resource, an empty block.
#include <gtest/gtest.h>

#include <cstring>

#include "core/resource.h"
#include "engine/kv_engine.h"
#include "foundation/engine_module.h"
#include "platform/modules/module_registry.h"

namespace {

uint32_t ReadWord(const void* data, size_t offset) {
  uint32_t value = 0;
  memcpy(&value, static_cast<const uint8_t*>(data) + offset, sizeof value);
  return value;
}

}  // namespace

TEST(Resource, LoadsTheEngineLogoAsATextureFile) {
  KvInitiation();
  KV_RESOURCE resource;
  ASSERT_TRUE(resource.Load(KvEngineModule(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(1024)));
  EXPECT_FALSE(resource.IsEmpty());
  ASSERT_GE(resource.GetSize(), 24u);
  EXPECT_EQ(memcmp(resource.GetData(), "KVT1", 4), 0);
  uint32_t width = ReadWord(resource.GetData(), 8);
  uint32_t height = ReadWord(resource.GetData(), 12);
  EXPECT_EQ(width, 640u);
  EXPECT_EQ(height, 260u);
  EXPECT_EQ(resource.GetSize(), 24 + width * height * 4);
  resource.Free();
  // Freeing leaves the view as it was.
  EXPECT_FALSE(resource.IsEmpty());
}

TEST(Resource, MissingResourcesLeaveTheViewEmpty) {
  KvInitiation();
  KV_RESOURCE resource;
  EXPECT_TRUE(resource.IsEmpty());
  EXPECT_FALSE(resource.Load(KvEngineModule(), MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(1024)));
  EXPECT_TRUE(resource.IsEmpty());
  EXPECT_EQ(resource.GetData(), nullptr);
  EXPECT_EQ(resource.handle, nullptr);
  EXPECT_FALSE(resource.Load(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(1024)));
  EXPECT_TRUE(resource.IsEmpty());
}

TEST(Resource, AnEmptyBlockIsRefused) {
  HMODULE module = platform::RegisterModule("Resource Test.dll");
  static const uint8_t nothing[1] = {0};
  ASSERT_TRUE(platform::AddResource(module, 1024, 7, nothing, 0));
  KV_RESOURCE resource;
  EXPECT_FALSE(resource.Load(module, MAKEINTRESOURCEA(7), MAKEINTRESOURCEA(1024)));
  EXPECT_TRUE(resource.IsEmpty());
}
