// KV_REGISTRY on a registry file in a temporary folder: the two open modes and the refused
// ones, values through the class, and a file type registered as three keys with one default
// text each.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "app/registry.h"
#include "platform/testing/services.h"
#include "scratch_folder.h"

namespace {

class RegistryClassTest : public ::testing::Test {
 protected:
  ScratchFolder scratch{"kv_registry"};
  std::string folder = scratch.Path();
  KV_REGISTRY registry;

  void SetUp() override { platform::testing::SetRegistryFile(folder + "/registry"); }
  void TearDown() override { platform::testing::ResetServices(); }

  // The key's default text, or "<missing>".
  std::string DefaultText(const char* path) {
    HKEY key = registry.OpenKey(HKEY_CLASSES_ROOT, path, KV_REGISTRY::OPEN_EXISTING);
    if (key == 0) return "<no key>";
    char buffer[256] = {};
    DWORD size = sizeof buffer, type = 0;
    if (!registry.QueryValue(key, "", &type, buffer, &size) || type != REG_SZ) return "<missing>";
    EXPECT_EQ(size, std::strlen(buffer) + 1);  // stored with its terminating zero
    return buffer;
  }
};

}  // namespace

TEST_F(RegistryClassTest, OpenKeyModes) {
  EXPECT_EQ(registry.OpenKey(HKEY_CURRENT_USER, "Software\\App", 10), (HKEY)0);
  EXPECT_EQ(registry.OpenKey(HKEY_CURRENT_USER, "Software\\App", 10), (HKEY)0);  // not created
  EXPECT_EQ(registry.OpenKey(HKEY_CURRENT_USER, "Software\\App", 1), (HKEY)0);
  EXPECT_EQ(registry.OpenKey(HKEY_CURRENT_USER, "Software\\App", 3), (HKEY)0);
  EXPECT_FALSE(std::filesystem::exists(folder + "/registry"));  // no mode touched the store
  HKEY made = registry.OpenKey(HKEY_CURRENT_USER, "Software\\App", 2);
  ASSERT_NE(made, (HKEY)0);
  EXPECT_NE(registry.OpenKey(HKEY_CURRENT_USER, "software\\app", 10), (HKEY)0);
  EXPECT_NE(registry.OpenKey(HKEY_CURRENT_USER, "Software\\App", 2), (HKEY)0);  // opens it again
  EXPECT_TRUE(registry.DeleteKey(HKEY_CURRENT_USER, "Software\\App"));
  EXPECT_FALSE(registry.DeleteKey(HKEY_CURRENT_USER, "Software\\App"));
  EXPECT_EQ(registry.OpenKey(HKEY_CURRENT_USER, "Software\\App", 10), (HKEY)0);
}

TEST_F(RegistryClassTest, ValuesThroughTheClass) {
  HKEY key = registry.OpenKey(HKEY_CURRENT_USER, "Software\\Values", 2);
  ASSERT_NE(key, (HKEY)0);
  EXPECT_FALSE(registry.ValueExists(key, "Level"));
  int level = 12;
  EXPECT_TRUE(registry.SetValue(key, "Level", REG_DWORD, &level, sizeof level));
  EXPECT_TRUE(registry.ValueExists(key, "LEVEL"));
  int back = 0;
  DWORD type = 0, size = sizeof back;
  EXPECT_TRUE(registry.QueryValue(key, "level", &type, &back, &size));
  EXPECT_EQ(back, 12);
  EXPECT_EQ(type, (DWORD)REG_DWORD);
  char small[2];
  size = 1;
  EXPECT_FALSE(registry.QueryValue(key, "Level", &type, small, &size));  // too small a buffer
  EXPECT_TRUE(registry.DeleteValue(key, "Level"));
  EXPECT_FALSE(registry.DeleteValue(key, "Level"));
  EXPECT_FALSE(registry.ValueExists(key, "Level"));
  EXPECT_FALSE(registry.SetValue(0, "x", REG_SZ, "", 1));
}

TEST_F(RegistryClassTest, RegisterFileTypeWritesThreeKeys) {
  ASSERT_TRUE(registry.RegisterFileType("Kelvo.Level", ".kvl", "\"/opt/kelvo/editor\" \"%1\"",
                                        "/opt/kelvo/level.png"));
  EXPECT_EQ(DefaultText(".kvl"), "Kelvo.Level");
  EXPECT_EQ(DefaultText("Kelvo.Level\\DefaultIcon"), "/opt/kelvo/level.png");
  EXPECT_EQ(DefaultText("Kelvo.Level\\shell\\open\\command"), "\"/opt/kelvo/editor\" \"%1\"");
  // Each key holds just its default value; the type name's own key holds none.
  HKEY key = registry.OpenKey(HKEY_CLASSES_ROOT, ".kvl", 10);
  EXPECT_FALSE(registry.ValueExists(key, "Kelvo.Level"));
  EXPECT_EQ(DefaultText("Kelvo.Level"), "<missing>");
  // They are in the file, for the next run.
  platform::testing::SetRegistryFile(folder + "/registry");
  EXPECT_EQ(DefaultText("Kelvo.Level\\shell\\open\\command"), "\"/opt/kelvo/editor\" \"%1\"");
}

TEST_F(RegistryClassTest, RegisterFileTypeStopsAtTheFirstFailure) {
  EXPECT_FALSE(registry.RegisterFileType("T", "", "cmd", "icon"));  // the root's default is refused
  EXPECT_EQ(DefaultText("T\\DefaultIcon"), "<no key>");
  EXPECT_FALSE(registry.RegisterFileType(nullptr, ".x", "cmd", "icon"));
  EXPECT_EQ(DefaultText(".x"), "<no key>");
}
