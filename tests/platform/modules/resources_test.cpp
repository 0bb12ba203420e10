// Modules by name and their resources: found by number, loaded, locked and sized; absent ones
// give null and 0.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/modules/module_registry.h"
#include "platform/winapi/windows.h"

TEST(Resources, ModulesAreFoundByNameWithoutCase) {
  HMODULE engine = platform::RegisterModule("Kelvo Core.dll");
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(platform::RegisterModule("KELVO CORE.DLL"), engine);
  EXPECT_EQ(GetModuleHandleA("Kelvo Core.dll"), engine);
  EXPECT_EQ(GetModuleHandleA("kelvo core.DLL"), engine);
  EXPECT_EQ(GetModuleHandleA("Kelvo Core"), engine);
  EXPECT_EQ(GetModuleHandleA("Kelvo Core.exe"), nullptr);
  EXPECT_EQ(GetModuleHandleA("Other.dll"), nullptr);
  EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
  EXPECT_NE(GetModuleHandleA(nullptr), engine);
  EXPECT_EQ(platform::RegisterModule(""), nullptr);
}

TEST(Resources, ARegisteredResourceIsFoundLoadedLockedAndSized) {
  HMODULE module = platform::RegisterModule("Resources Test.dll");
  const char logo[] = "KVT logo bytes";
  ASSERT_TRUE(platform::AddResource(module, 1024, 1, logo, sizeof logo));
  EXPECT_FALSE(platform::AddResource(module, 1024, 1, logo, sizeof logo));
  EXPECT_FALSE(platform::AddResource(nullptr, 1024, 2, logo, sizeof logo));
  EXPECT_FALSE(platform::AddResource(module, 1024, 3, nullptr, 4));

  HRSRC found = FindResourceA(module, MAKEINTRESOURCE(1), MAKEINTRESOURCE(1024));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(FindResourceA(module, "#1", "#1024"), found);
  HGLOBAL loaded = LoadResource(module, found);
  ASSERT_NE(loaded, nullptr);
  const void* data = LockResource(loaded);
  ASSERT_NE(data, nullptr);
  EXPECT_NE(data, static_cast<const void*>(logo));  // a copy of its own
  EXPECT_EQ(std::memcmp(data, logo, sizeof logo), 0);
  EXPECT_EQ(SizeofResource(module, found), sizeof logo);
  EXPECT_FALSE(FreeResource(loaded));
  // Still there after freeing: resources live as long as their module.
  EXPECT_EQ(LockResource(LoadResource(module, found)), data);
}

TEST(Resources, AbsentResourcesGiveNullAndZero) {
  HMODULE module = platform::RegisterModule("Empty Test.dll");
  HMODULE other = platform::RegisterModule("Other Test.dll");
  const char byte = 1;
  ASSERT_TRUE(platform::AddResource(other, 1024, 1, &byte, 1));
  EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCE(1), MAKEINTRESOURCE(1024)), nullptr);
  EXPECT_EQ(FindResourceA(module, "logo", MAKEINTRESOURCE(1024)), nullptr);
  EXPECT_EQ(
      FindResourceA(reinterpret_cast<HMODULE>(0x1234), MAKEINTRESOURCE(1), MAKEINTRESOURCE(1024)),
      nullptr);
  EXPECT_EQ(LoadResource(module, nullptr), nullptr);
  EXPECT_EQ(LockResource(nullptr), nullptr);
  EXPECT_EQ(SizeofResource(module, nullptr), 0u);
  // A resource of another module is not this module's.
  HRSRC foreign = FindResourceA(other, MAKEINTRESOURCE(1), MAKEINTRESOURCE(1024));
  ASSERT_NE(foreign, nullptr);
  EXPECT_EQ(LoadResource(module, foreign), nullptr);
  EXPECT_EQ(SizeofResource(module, foreign), 0u);
  // An empty resource is found but has no data to lock.
  ASSERT_TRUE(platform::AddResource(module, 10, 5, nullptr, 0));
  HRSRC empty = FindResourceA(module, MAKEINTRESOURCE(5), RT_RCDATA);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(LockResource(LoadResource(module, empty)), nullptr);
  EXPECT_EQ(SizeofResource(module, empty), 0u);
}

TEST(Resources, ProgramIconIsFoundOnceRegistered) {
  HMODULE program = GetModuleHandleA(nullptr);
  EXPECT_EQ(LoadIconA(program, MAKEINTRESOURCE(7)), nullptr);
  const char icon[] = "icon";
  ASSERT_TRUE(platform::AddResource(program, 14, 7, icon, sizeof icon));
  EXPECT_NE(LoadIconA(program, MAKEINTRESOURCE(7)), nullptr);
}

TEST(CurrentDirectory, CopiesTheDirectoryOrGivesTheSizeNeeded) {
  char buffer[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::strlen(buffer), length);
  char small[2] = {'x', 'y'};
  EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), length + 1);
  EXPECT_EQ(small[0], 'x');
  EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
}
