// The registry calls on their file: values of every kind written and read back, names without
// case, keys made with their parents and deleted only as leaves, the store read again from its
// file, a damaged file set aside, and a file that cannot be written leaving nothing changed.
#include <cstring>
#include <filesystem>

#include "platform/winapi/registry.h"
#include "platform/services_fixture.h"

namespace {

class RegistryTest : public ServicesTest {
 protected:
  static HKEY Create(HKEY root, const char* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(
        RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, disposition),
        ERROR_SUCCESS);
    return key;
  }
  static LSTATUS Open(HKEY root, const char* path, HKEY* key) {
    return RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, key);
  }
  static std::string QueryText(HKEY key, const char* name) {
    char buffer[256] = {};
    DWORD size = sizeof buffer, type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)buffer, &size) != ERROR_SUCCESS)
      return "<missing>";
    return std::string(buffer, size);
  }
  // Re-reads the store from its file, as the next run of the program would.
  void Reopen() { platform::testing::SetRegistryFile(platform::testing::RegistryFile()); }
  // The files beside the store other than the store and its lock file: temporary files left.
  int Leftovers() const {
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder + "/config/kelvo-core")) {
      std::string name = entry.path().filename();
      if (name != "registry" && name != "registry.lock") ++files;
    }
    return files;
  }
};

}  // namespace

TEST_F(RegistryTest, TextsAndNumbersComeBackAsWritten) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Kelvo\\Test");
  const char text[] = "hello world";
  ASSERT_EQ(RegSetValueExA(key, "Greeting", 0, REG_SZ, (const BYTE*)text, sizeof text),
            ERROR_SUCCESS);
  DWORD number = 0xDEADBEEF;
  ASSERT_EQ(RegSetValueExA(key, "Count", 0, REG_DWORD, (const BYTE*)&number, 4), ERROR_SUCCESS);
  const BYTE binary[] = {0, 1, 2, 0, 255, '%', ' ', '\n'};
  ASSERT_EQ(RegSetValueExA(key, "Blob", 0, REG_BINARY, binary, sizeof binary), ERROR_SUCCESS);

  EXPECT_EQ(QueryText(key, "Greeting"), std::string(text, sizeof text));
  DWORD type = 0, read = 0, size = 4;
  ASSERT_EQ(RegQueryValueExA(key, "Count", nullptr, &type, (BYTE*)&read, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, (DWORD)REG_DWORD);
  EXPECT_EQ(read, 0xDEADBEEFu);

  // The size alone, then a buffer too small, then the bytes.
  size = 0;
  ASSERT_EQ(RegQueryValueExA(key, "Blob", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, sizeof binary);
  BYTE small[4];
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExA(key, "Blob", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, sizeof binary);
  BYTE back[16];
  size = sizeof back;
  ASSERT_EQ(RegQueryValueExA(key, "Blob", nullptr, nullptr, back, &size), ERROR_SUCCESS);
  EXPECT_EQ(0, std::memcmp(back, binary, sizeof binary));

  // Overwriting changes type and size.
  ASSERT_EQ(RegSetValueExA(key, "Count", 0, REG_SZ, (const BYTE*)"7", 2), ERROR_SUCCESS);
  EXPECT_EQ(QueryText(key, "Count"), std::string("7", 2));
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreCaseAndKeepIt) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\MixedCase");
  ASSERT_EQ(RegSetValueExA(key, "Volume", 0, REG_SZ, (const BYTE*)"a", 2), ERROR_SUCCESS);
  HKEY again = nullptr;
  ASSERT_EQ(Open(HKEY_CURRENT_USER, "SOFTWARE\\mixedcase", &again), ERROR_SUCCESS);
  EXPECT_EQ(QueryText(again, "VOLUME"), std::string("a", 2));
  ASSERT_EQ(RegSetValueExA(again, "volume", 0, REG_SZ, (const BYTE*)"b", 2), ERROR_SUCCESS);
  EXPECT_EQ(QueryText(key, "Volume"), std::string("b", 2));  // one value, not two
  DWORD disposition = 0;
  Create(HKEY_CURRENT_USER, "software\\MIXEDCASE", &disposition);
  EXPECT_EQ(disposition, (DWORD)REG_OPENED_EXISTING_KEY);
  // The file keeps the case each name was first written in.
  std::string file = ReadText(platform::testing::RegistryFile());
  EXPECT_NE(file.find("Software\\MixedCase"), std::string::npos);
  EXPECT_NE(file.find("Volume"), std::string::npos);
}

TEST_F(RegistryTest, OpenFindsOnlyExistingKeysAndCreateMakesParents) {
  HKEY key = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(Open(HKEY_CLASSES_ROOT, "Missing\\Key", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(Open(HKEY_CLASSES_ROOT, "Missing", &key), ERROR_FILE_NOT_FOUND);  // nothing was made

  DWORD disposition = 0;
  Create(HKEY_CLASSES_ROOT, "A\\B\\C", &disposition);
  EXPECT_EQ(disposition, (DWORD)REG_CREATED_NEW_KEY);
  EXPECT_EQ(Open(HKEY_CLASSES_ROOT, "A", &key), ERROR_SUCCESS);
  EXPECT_EQ(Open(key, "B\\C", &key), ERROR_SUCCESS);
  // Keys live under their own root only.
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "A", &key), ERROR_FILE_NOT_FOUND);
  // An unknown handle is refused.
  EXPECT_EQ(Open(reinterpret_cast<HKEY>(0x1234), "A", &key), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, DeletingRemovesLeavesOnlyAndValuesOneByOne) {
  HKEY key = Create(HKEY_CURRENT_USER, "Tree\\Branch\\Leaf");
  Create(HKEY_CURRENT_USER, "Tree!");  // sorts between "Tree" and its children
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Tree"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Tree\\Branch"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "tree\\branch\\LEAF"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Tree\\Branch\\Leaf"), ERROR_FILE_NOT_FOUND);
  // The handle of a deleted key no longer reaches a key.
  EXPECT_EQ(RegSetValueExA(key, "x", 0, REG_SZ, (const BYTE*)"", 1), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Tree\\Branch"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Tree"), ERROR_SUCCESS);
  HKEY open = nullptr;
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Tree!", &open), ERROR_SUCCESS);

  ASSERT_EQ(RegSetValueExA(open, "one", 0, REG_SZ, (const BYTE*)"1", 2), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(open, "two", 0, REG_SZ, (const BYTE*)"2", 2), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(open, "ONE"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(open, "one"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExA(open, "one", nullptr, nullptr, nullptr, nullptr),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExA(open, "two", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
}

TEST_F(RegistryTest, TheStoreIsReadAgainFromItsFile) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Persist me");
  const char text[] = "caf\xe9 au lait";  // an 8-bit character and blanks
  ASSERT_EQ(RegSetValueExA(key, "", 0, REG_SZ, (const BYTE*)text, sizeof text), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, "Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  Reopen();
  HKEY again = nullptr;
  ASSERT_EQ(Open(HKEY_CURRENT_USER, "software\\persist ME", &again), ERROR_SUCCESS);
  EXPECT_EQ(QueryText(again, nullptr), std::string(text, sizeof text));
  DWORD size = 99, type = 0;
  EXPECT_EQ(RegQueryValueExA(again, "Empty", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(type, (DWORD)REG_BINARY);
  // No temporary file is left beside the store.
  EXPECT_EQ(Leftovers(), 0);
}

TEST_F(RegistryTest, ADamagedFileIsSetAsideAndTheStoreStartsEmpty) {
  std::string path = platform::testing::RegistryFile();
  WriteText(path, "kelvo-core registry 1\nkey 80000001\\Good\nvalue 1 % 4100\nvalue x y\n");
  Reopen();
  HKEY key = nullptr;
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Good", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(std::filesystem::exists(path + ".damaged"));
  // The registry works on, and its new file is sound.
  Create(HKEY_CURRENT_USER, "Fresh");
  Reopen();
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Fresh", &key), ERROR_SUCCESS);

  for (const char* damaged : {"not a registry\n", "kelvo-core registry 1\nvalue 1 % 41\n",
                              "kelvo-core registry 1\nkey A\nvalue 1 % 4\n",
                              "kelvo-core registry 1\nkey A\nvalue 99999999999 % 41\n",
                              "kelvo-core registry 1\nkey %4\n"}) {
    WriteText(path, damaged);
    Reopen();
    EXPECT_EQ(Open(HKEY_CURRENT_USER, "Fresh", &key), ERROR_FILE_NOT_FOUND) << damaged;
  }
}

TEST_F(RegistryTest, AChangeThatCannotBeWrittenIsUndone) {
  HKEY key = Create(HKEY_CURRENT_USER, "Kept");
  ASSERT_EQ(RegSetValueExA(key, "v", 0, REG_SZ, (const BYTE*)"old", 4), ERROR_SUCCESS);
  // A folder where the store's file should be: no new file can be renamed into its place.
  std::string path = platform::testing::RegistryFile();
  ASSERT_TRUE(std::filesystem::remove(path));
  ASSERT_TRUE(std::filesystem::create_directories(path + "/blocker"));
  EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_SZ, (const BYTE*)"new", 4), ERROR_WRITE_FAULT);
  EXPECT_EQ(QueryText(key, "v"), std::string("old", 4));
  HKEY other = nullptr;
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Other", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &other, nullptr),
            ERROR_WRITE_FAULT);
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Other", &other), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueA(key, "v"), ERROR_WRITE_FAULT);
  EXPECT_EQ(QueryText(key, "v"), std::string("old", 4));
  // No temporary file is left behind.
  EXPECT_EQ(Leftovers(), 0);
}

TEST_F(RegistryTest, TheDefaultPlaceFollowsTheConfigurationFolder) {
  platform::testing::SetRegistryFile("");
  const char* saved = getenv("XDG_CONFIG_HOME");
  std::string keep = saved != nullptr ? saved : "";
  setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
  EXPECT_EQ(platform::testing::RegistryFile(), "/somewhere/config/kelvo-core/registry");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(platform::testing::RegistryFile(),
            std::string(getenv("HOME")) + "/.config/kelvo-core/registry");
  if (saved != nullptr) setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
}
