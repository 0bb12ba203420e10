// The central object's system dialogs without a desktop: failure results, the default caption,
// the record each dialog receives (filter list, flags, initial folder), and the listing of a
// temporary folder; with stand-ins for the desktop's programs, paths written the Windows way.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "app/app_fixture.h"
#include "core/core.h"
#include "platform/desktop_stand_ins.h"
#include "platform/testing/services.h"
#include "platform/windows_path.h"
#include "platform/winapi/shell.h"
#include "scratch_folder.h"

namespace {

class CoreDialogsTest : public AppTest {
 protected:
  KV_CORE* core = nullptr;

  void SetUp() override {
    AppTest::SetUp();
    platform::testing::ResetServices();
    platform::testing::HideDesktop(true);
    core = new KV_CORE();
    KV_WINDOW& window = *core->windows.GetValue("main", 7);
    window.title = "Main Window";
  }
  void TearDown() override {
    delete core;
    platform::testing::ResetServices();
    AppTest::TearDown();
  }
};

}  // namespace

TEST_F(CoreDialogsTest, MessageBoxCaptionsAndFailureResult) {
  EXPECT_EQ(core->MessageBox("Hello", nullptr, 0, nullptr), 0);
  EXPECT_EQ(platform::testing::LastMessageBox()->caption, "Kelvo Core Application");
  EXPECT_EQ(platform::testing::LastMessageBox()->text, "Hello");
  EXPECT_EQ(core->MessageBox("Hello", nullptr, 4, "main"), 0);
  EXPECT_EQ(platform::testing::LastMessageBox()->caption, "Main Window");
  EXPECT_EQ(platform::testing::LastMessageBox()->type, 4u);
  core->MessageBox("Hello", "Own", 0, "main");
  EXPECT_EQ(platform::testing::LastMessageBox()->caption, "Own");
  core->MessageBox("Hello", nullptr, 0, "nowhere");
  EXPECT_EQ(platform::testing::LastMessageBox()->caption, "Kelvo Core Application");
}

TEST_F(CoreDialogsTest, ShellOpenAsksTheShellOrGivesOneForAMissingWindow) {
  EXPECT_EQ(core->ShellOpen("/definitely/missing.txt", "-x", nullptr), 2);
  auto record = platform::testing::LastShellOpen();
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->verb, "OPEN");
  EXPECT_EQ(record->parameters, "-x");
  EXPECT_EQ(record->directory, "");
  EXPECT_EQ(record->showCommand, SW_SHOW);
  platform::testing::ResetServices();
  platform::testing::HideDesktop(true);
  EXPECT_EQ(core->ShellOpen("/definitely/missing.txt", "", "nowhere"), 1);
  EXPECT_FALSE(platform::testing::LastShellOpen().has_value());
}

TEST_F(CoreDialogsTest, FileDialogsBuildTheRecordAndGiveEmptyWhenNothingIsChosen) {
  KV_STRING out = "old";
  core->FileDialog(out, KV_DIALOG_OPEN, "Images|*.png", "Open an image", nullptr,
                   KV_DIALOG_OVERWRITE_PROMPT | KV_DIALOG_NO_PLACES_BAR | KV_DIALOG_MULTIPLE |
                       KV_DIALOG_HIDE_READ_ONLY,
                   "main");
  EXPECT_EQ(out, "");
  auto record = platform::testing::LastDialog();
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->kind, "open");
  EXPECT_EQ(record->filter, (std::vector<std::string>{"Images", "*.png"}));
  EXPECT_EQ(record->title, "Open an image");
  EXPECT_EQ(record->initialDirectory, std::filesystem::current_path().string());
  EXPECT_EQ(record->flags, (DWORD)(0x80008 | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT |
                                   OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST));
  EXPECT_EQ(record->flagsEx, (DWORD)OFN_EX_NOPLACESBAR);
  EXPECT_EQ(record->maxFile, 260u);

  core->FileDialog(out, KV_DIALOG_SAVE, nullptr, nullptr, "/tmp", 0, nullptr);
  record = platform::testing::LastDialog();
  EXPECT_EQ(record->kind, "save");
  EXPECT_TRUE(record->filter.empty());
  EXPECT_EQ(record->initialDirectory, "/tmp");
  EXPECT_EQ(record->flags, 0x80008u);

  platform::testing::ResetServices();
  out = "old";
  core->FileDialog(out, 12, "Images|*.png", nullptr, nullptr, 0, nullptr);
  EXPECT_EQ(out, "");
  EXPECT_FALSE(platform::testing::LastDialog().has_value());  // nothing shown for another mode
}

TEST_F(CoreDialogsTest, BrowseFolderGivesEmptyWhenNothingIsChosen) {
  KV_STRING out = "old";
  core->BrowseFolder(out, "Choose", "main");
  EXPECT_EQ(out, "");
  EXPECT_EQ(platform::testing::LastDialog()->title, "Choose");
}

TEST_F(CoreDialogsTest, ListFilesListsATemporaryFolder) {
  ScratchFolder scratch("kv_list");
  std::string folder = scratch.Path();
  std::ofstream(folder + "/one.txt") << "1";
  std::ofstream(folder + "/two.TXT") << "2";
  std::filesystem::create_directory(folder + "/inner");

  KV_LIST<KV_FILE_RECORD> list;
  core->ListFiles(list, (folder + "/*").c_str());
  std::set<std::string> files, folders;
  for (auto i = list.Begin(); !i.IsEnd(); i.Next())
    (i->isDirectory ? folders : files).insert(i->name.c_str());
  EXPECT_EQ(files, (std::set<std::string>{"one.txt", "two.TXT"}));
  EXPECT_EQ(folders, (std::set<std::string>{".", "..", "inner"}));

  core->ListFiles(list, (folder + "/*.txt").c_str());
  EXPECT_EQ(list.Count(), 2u);
  core->ListFiles(list, (folder + "/*.png").c_str());
  EXPECT_EQ(list.Count(), 0u);  // cleared, nothing matched
  core->ListFiles(list, nullptr);
  EXPECT_EQ(list.Count(), 0u);
}

// With stand-ins for the desktop's programs: the listing's pattern, the dialog's starting folder
// and the document opened through the shell, each written the Windows way, name the same places.
TEST_F(CoreDialogsTest, PathsWrittenTheWindowsWayNameTheSamePlaces) {
  ScratchFolder scratch("kv_core_paths");
  std::string folder = scratch.Path();
  std::filesystem::create_directories(folder + "/docs");
  std::ofstream(folder + "/docs/a.txt") << "a";
  KV_LIST<KV_FILE_RECORD> list;
  core->ListFiles(list, kvtest::WindowsPath(folder + "/docs/*.txt").c_str());
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_STREQ(list.Begin()->name.c_str(), "a.txt");

  platform::testing::HideDesktop(false);
  platform::testing::UseDesktopPrograms(folder + "/bin");
  kvtest::WriteRecordingScript(folder + "/bin/zenity", folder + "/zenity.txt",
                               "echo '" + folder + "/docs/a.txt'\n");
  KV_STRING out;
  core->FileDialog(out, KV_DIALOG_OPEN, nullptr, nullptr,
                   kvtest::WindowsPath(folder + "/docs").c_str(), 0, "main");
  EXPECT_STREQ(out.c_str(), (folder + "/docs/a.txt").c_str());
  std::ifstream zenity(folder + "/zenity.txt");
  std::string line, options;
  while (std::getline(zenity, line)) options += line + "|";
  EXPECT_NE(options.find("|--filename=" + folder + "/docs/|"), std::string::npos) << options;

  kvtest::WriteRecordingScript(folder + "/bin/xdg-open", folder + "/opened.txt");
  EXPECT_GT(core->ShellOpen(kvtest::WindowsPath(folder + "/docs/a.txt").c_str(), "", "main"), 32);
  EXPECT_EQ(kvtest::WaitForFile(folder + "/opened.txt").rfind(folder + "/docs/a.txt\n", 0), 0u);
}
