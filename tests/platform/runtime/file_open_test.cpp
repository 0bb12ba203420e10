// The helpers that open files and folders named the Windows way: a path with "\" names the same
// file or folder as with "/" for opening, renaming, removing and listing, and null paths are
// refused; paths are code-page text.
#include "platform/runtime/file_open.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/winapi/shell.h"
#include "scratch_folder.h"

namespace {

class FileOpen : public ::testing::Test {
 protected:
  ScratchFolder scratch{"kv_file_open"};
  std::string folder = scratch.Path();

  void SetUp() override { std::filesystem::create_directory(folder + "/sub"); }

  bool Exists(const std::string& rest) const { return std::filesystem::exists(folder + rest); }
};

}  // namespace

TEST_F(FileOpen, BackslashesNameTheSameFilesAndFoldersAsSlashes) {
  EXPECT_EQ(KvNativePath("data\\1.kvt"), "data/1.kvt");
  EXPECT_EQ(KvNativePath(".\\wall.jpg"), "./wall.jpg");
  std::string written = folder + "\\sub\\a.txt";
  FILE* file = KvOpenFile(written.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("abc", file);
  std::fclose(file);
  EXPECT_TRUE(Exists("/sub/a.txt"));
  EXPECT_FALSE(std::filesystem::exists(written));  // no file whose name holds the backslashes

  ASSERT_TRUE(KvRenameFile(written.c_str(), (folder + "\\sub\\b.txt").c_str()));
  EXPECT_FALSE(Exists("/sub/a.txt"));
  EXPECT_TRUE(Exists("/sub/b.txt"));

  DIR* dir = KvOpenDirectory((folder + "\\sub").c_str());
  ASSERT_NE(dir, nullptr);
  std::set<std::string> names;
  while (dirent* entry = readdir(dir)) names.insert(entry->d_name);
  closedir(dir);
  EXPECT_EQ(names, (std::set<std::string>{".", "..", "b.txt"}));

  EXPECT_TRUE(KvRemoveFile((folder + "\\sub\\b.txt").c_str()));
  EXPECT_FALSE(Exists("/sub/b.txt"));
}

TEST_F(FileOpen, NullPathsAndMissingFilesAreRefused) {
  EXPECT_EQ(KvNativePath(nullptr), "");
  EXPECT_EQ(KvOpenFile(nullptr, "rb"), nullptr);
  EXPECT_EQ(KvOpenFile((folder + "\\sub").c_str(), nullptr), nullptr);
  EXPECT_EQ(KvOpenFile((folder + "\\missing.txt").c_str(), "rb"), nullptr);
  EXPECT_FALSE(KvRemoveFile(nullptr));
  EXPECT_FALSE(KvRemoveFile((folder + "\\missing.txt").c_str()));
  EXPECT_FALSE(KvRenameFile(nullptr, (folder + "\\x").c_str()));
  EXPECT_FALSE(KvRenameFile((folder + "\\missing.txt").c_str(), (folder + "\\x").c_str()));
  EXPECT_EQ(KvOpenDirectory(nullptr), nullptr);
  EXPECT_EQ(KvOpenDirectory((folder + "\\none").c_str()), nullptr);
  // "" is the working directory.
  DIR* here = KvOpenDirectory("");
  ASSERT_NE(here, nullptr);
  closedir(here);
}

// Paths are code-page text: an accented name reaches the file system as UTF-8, and the name the
// folder search gives back for that file opens it again.
TEST_F(FileOpen, AccentedNamesAreCodePageTextAndFoundNamesOpen) {
  std::ofstream(folder + "/sub/caf\xC3\xA9.txt") << "x";  // "cafe" with an acute e, in UTF-8
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\sub\\caf*.txt").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  EXPECT_STREQ(found.cFileName, "caf\xE9.txt");  // the code page's byte for the accented e
  FILE* file = KvOpenFile((folder + "\\sub\\" + found.cFileName).c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_EQ(KvNativePath("caf\xE9"), "caf\xC3\xA9");
}
