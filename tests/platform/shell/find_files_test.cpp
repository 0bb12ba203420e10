// The directory search: wildcards without case, "*.*" for every name, folders marked, sizes,
// nothing found for a pattern that matches nothing or a missing folder, and handles refused
// once closed.
#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "platform/winapi/shell.h"
#include "platform/winapi/windows.h"
#include "platform/services_fixture.h"

namespace {

class FindFilesTest : public ServicesTest {
 protected:
  void SetUp() override {
    ServicesTest::SetUp();
    WriteText(folder + "/list/Alpha.PNG", "12345");
    WriteText(folder + "/list/beta.png", "");
    WriteText(folder + "/list/notes.txt", "x");
    WriteText(folder + "/list/README", "x");
    std::filesystem::create_directories(folder + "/list/sub.dir");
  }

  // name -> attributes of every entry matching the pattern.
  std::set<std::string> Find(const std::string& pattern, std::set<std::string>* folders = nullptr) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      names.insert(found.cFileName);
      if (folders != nullptr && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        folders->insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    EXPECT_TRUE(FindClose(search));
    return names;
  }
};

}  // namespace

TEST_F(FindFilesTest, WildcardsMatchWithoutCase) {
  EXPECT_EQ(Find(folder + "/list/*.png"), (std::set<std::string>{"Alpha.PNG", "beta.png"}));
  EXPECT_EQ(Find(folder + "/list/?ETA.*"), (std::set<std::string>{"beta.png"}));
  EXPECT_EQ(Find(folder + "/list/*e*"), (std::set<std::string>{"beta.png", "notes.txt", "README"}));
  EXPECT_EQ(Find(folder + "/list/readme"), (std::set<std::string>{"README"}));
}

TEST_F(FindFilesTest, EveryNameWithDotsAndFoldersMarked) {
  std::set<std::string> folders;
  std::set<std::string> all = Find(folder + "/list/*.*", &folders);
  EXPECT_EQ(all, (std::set<std::string>{".", "..", "Alpha.PNG", "beta.png", "notes.txt", "README",
                                        "sub.dir"}));
  EXPECT_EQ(folders, (std::set<std::string>{".", "..", "sub.dir"}));
}

TEST_F(FindFilesTest, BackslashesSeparateFoldersAndSizesAreGiven) {
  std::string pattern = folder + "\\list\\alpha.png";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(found.cFileName, "Alpha.PNG");
  EXPECT_EQ(found.nFileSizeLow, 5u);
  EXPECT_EQ(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_FALSE(FindNextFileA(search, &found));
  EXPECT_TRUE(FindClose(search));
}

TEST_F(FindFilesTest, NothingMatchingGivesAnInvalidHandle) {
  WIN32_FIND_DATAA found;
  EXPECT_EQ(FindFirstFileA((folder + "/list/*.gif").c_str(), &found), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirstFileA((folder + "/missing/*").c_str(), &found), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirstFileA(nullptr, &found), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirstFileA((folder + "/list/").c_str(), &found), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindNextFileA(INVALID_HANDLE_VALUE, &found));
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
}
