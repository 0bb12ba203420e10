// The desktop services without a desktop: message boxes, shell open, the open and save dialogs
// and the folder picker give their failure results, and each records what it was asked, so the
// records show the texts, filters and flags as the caller built them. With stand-ins for the
// desktop's programs: the paths they are given.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/winapi/shell.h"
#include "platform/winapi/windows.h"
#include "platform/desktop_stand_ins.h"
#include "platform/services_fixture.h"

using DialogsTest = ServicesTest;

TEST_F(DialogsTest, AMessageBoxWithoutADesktopAnswersZero) {
  EXPECT_EQ(MessageBoxA(nullptr, "Text \xe9", "Caption", MB_YESNO | MB_ICONQUESTION), 0);
  auto box = platform::testing::LastMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, "Text \xe9");
  EXPECT_EQ(box->caption, "Caption");
  EXPECT_EQ(box->type, (UINT)(MB_YESNO | MB_ICONQUESTION));
  // Without a caption the window system's own word is used.
  MessageBoxA(nullptr, nullptr, nullptr, MB_OK);
  EXPECT_EQ(platform::testing::LastMessageBox()->caption, "Error");
}

TEST_F(DialogsTest, ShellOpenFailsWithTheWindowSystemsNumbers) {
  WriteText(folder + "/doc.txt", "x");
  EXPECT_EQ(
      (intptr_t)ShellExecuteA(nullptr, "OPEN", (folder + "/doc.txt").c_str(), "", "", SW_SHOW),
      SE_ERR_NOASSOC);
  EXPECT_EQ(platform::testing::LastShellOpen()->verb, "OPEN");
  EXPECT_EQ(platform::testing::LastShellOpen()->showCommand, SW_SHOW);
  EXPECT_EQ(
      (intptr_t)ShellExecuteA(nullptr, "OPEN", (folder + "/missing.txt").c_str(), "", "", SW_SHOW),
      SE_ERR_FNF);
  EXPECT_EQ(
      (intptr_t)ShellExecuteA(nullptr, "print", (folder + "/doc.txt").c_str(), "", "", SW_SHOW),
      SE_ERR_NOASSOC);
  EXPECT_EQ((intptr_t)ShellExecuteA(nullptr, "open", nullptr, nullptr, nullptr, SW_SHOW),
            SE_ERR_FNF);
  // An address is not looked for on disk.
  EXPECT_EQ((intptr_t)ShellExecuteA(nullptr, "open", "https://example.invalid/", "", "", SW_SHOW),
            SE_ERR_NOASSOC);
}

TEST_F(DialogsTest, OpenAndSaveDialogsFailAndLeaveTheBufferAlone) {
  char file[MAX_PATH] = "untouched";
  static const char filter[] = "Images\0*.png;*.bmp\0All\0*.*\0";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrFilter = filter;
  dialog.lpstrTitle = "Pick";
  dialog.lpstrInitialDir = "/tmp";
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  EXPECT_FALSE(GetOpenFileNameA(&dialog));
  EXPECT_STREQ(file, "untouched");
  auto record = platform::testing::LastDialog();
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->kind, "open");
  EXPECT_EQ(record->filter, (std::vector<std::string>{"Images", "*.png;*.bmp", "All", "*.*"}));
  EXPECT_EQ(record->title, "Pick");
  EXPECT_EQ(record->initialDirectory, "/tmp");
  EXPECT_EQ(record->maxFile, (DWORD)MAX_PATH);
  EXPECT_FALSE(GetSaveFileNameA(&dialog));
  EXPECT_EQ(platform::testing::LastDialog()->kind, "save");
  EXPECT_FALSE(GetOpenFileNameA(nullptr));
}

TEST_F(DialogsTest, TheFolderPickerGivesNoItemList) {
  BROWSEINFOA info{};
  info.lpszTitle = "Folder";
  EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
  EXPECT_EQ(platform::testing::LastDialog()->kind, "folder");
  EXPECT_EQ(platform::testing::LastDialog()->title, "Folder");
  EXPECT_EQ(SHBrowseForFolderA(nullptr), nullptr);
}

TEST_F(DialogsTest, ItemListsGiveTheirPathAndAreFreedByTheShellAllocator) {
  IMalloc* allocator = nullptr;
  ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
  ASSERT_NE(allocator, nullptr);
  char* list = static_cast<char*>(allocator->Alloc(16));
  std::strcpy(list, "/home/folder");
  char path[MAX_PATH];
  EXPECT_TRUE(SHGetPathFromIDListA(reinterpret_cast<LPITEMIDLIST>(list), path));
  EXPECT_STREQ(path, "/home/folder");
  allocator->Free(list);
  allocator->Release();
  std::string tooLong(300, 'a');
  EXPECT_FALSE(SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(tooLong.c_str()), path));
  EXPECT_EQ(SHGetMalloc(nullptr), E_INVALIDARG);
}

// With stand-ins for the desktop's programs, paths written the Windows way reach Linux with "/":
// the dialog's starting folder, the document handed to the opener, and the program started
// through the shell with its working folder.
TEST_F(DialogsTest, PathsWrittenTheWindowsWayReachTheDesktopWithSlashes) {
  platform::testing::HideDesktop(false);
  platform::testing::UseDesktopPrograms(folder + "/bin");
  std::filesystem::create_directories(folder + "/start");
  kvtest::WriteRecordingScript(folder + "/bin/zenity", folder + "/zenity.txt",
                               "echo '" + folder + "/picked.txt'\n");
  char file[MAX_PATH] = "";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  std::string start = folder + "\\start";
  dialog.lpstrInitialDir = start.c_str();
  ASSERT_TRUE(GetOpenFileNameA(&dialog));
  EXPECT_EQ(std::string(file), folder + "/picked.txt");
  EXPECT_NE(ReadText(folder + "/zenity.txt").find("\n--filename=" + folder + "/start/\n"),
            std::string::npos)
      << ReadText(folder + "/zenity.txt");

  kvtest::WriteRecordingScript(folder + "/bin/xdg-open", folder + "/opened.txt");
  WriteText(folder + "/docs/read me.txt", "x");
  EXPECT_GT((intptr_t)ShellExecuteA(nullptr, "open", (folder + "\\docs\\read me.txt").c_str(), "",
                                    "", SW_SHOW),
            32);
  EXPECT_EQ(kvtest::WaitForFile(folder + "/opened.txt"),
            folder + "/docs/read me.txt\n" +
                std::filesystem::canonical(std::filesystem::current_path()).string() + "\n");

  std::filesystem::create_directories(folder + "/work/dir");
  kvtest::WriteRecordingScript(folder + "/tools/run.sh", folder + "/ran.txt");
  EXPECT_GT((intptr_t)ShellExecuteA(nullptr, "open", (folder + "\\tools\\run.sh").c_str(),
                                    "one \"two three\"", (folder + "\\work\\dir").c_str(), SW_SHOW),
            32);
  EXPECT_EQ(kvtest::WaitForFile(folder + "/ran.txt"),
            "one\ntwo three\n" + std::filesystem::canonical(folder + "/work/dir").string() + "\n");
}
