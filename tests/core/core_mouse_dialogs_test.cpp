// The central object's screen accessors, mouse queries against named windows, 2D cameras and
// sprites, and its system dialogs without a desktop: failure results, the default caption, the
// filter list as the dialog receives it, and the listing of a temporary folder; with stand-ins
// for the desktop's programs, paths written the Windows way.
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

namespace {

class CoreMouseDialogsTest : public AppTest {
 protected:
  KV_CORE* core = nullptr;

  void SetUp() override {
    AppTest::SetUp();
    platform::testing::ResetServices();
    platform::testing::HideDesktop(true);
    platform::testing::SetScreenSize(1280, 800);
    core = new KV_CORE();
    KV_WINDOW& window = *core->windows.GetValue("main", 7);
    window.x = 100;
    window.y = 50;
    window.title = "Main Window";
    KV_CAMERA2D& camera = *core->cameras2D.GetValue("cam");
    camera.viewPosition = KV_VECTOR_D(10.7, -3.2, 0, 1);
    KV_SPRITE& sprite = *core->sprites.GetValue("button");
    sprite.width = 20;
    sprite.height = 10;
    sprite.pivotX = 5;
    sprite.pivotY = 5;
    SetCursor(130, 52);
  }
  void TearDown() override {
    delete core;
    platform::testing::ResetServices();
    AppTest::TearDown();
  }

  static void SetCursor(int x, int y) {
    platform::testing::SetCursorPosition(x, y);
    KvCursorRefresh();
  }
};

}  // namespace

TEST_F(CoreMouseDialogsTest, ScreenAccessorsGiveTheSizeReadAtConstruction) {
  EXPECT_EQ(core->GetScreenWidth(), 1280);
  EXPECT_EQ(core->GetScreenHeight(), 800);
  EXPECT_FLOAT_EQ(core->GetScreenAspect(), 1.6f);
}

TEST_F(CoreMouseDialogsTest, MousePositionsInTheWindowOnTheScreenAndForMissingWindows) {
  EXPECT_EQ(core->GetMouseX("main"), 30);  // found by name whatever the id
  EXPECT_EQ(core->GetMouseY("main", 99), 2);
  EXPECT_EQ(core->GetMouseX(nullptr), 130);
  EXPECT_EQ(core->GetMouseY(nullptr), 52);
  EXPECT_EQ(core->GetMouseX("nowhere"), 0);
  EXPECT_EQ(core->GetMouseY("nowhere"), 0);
  // The queries read the last cursor; GetMousePosition(null) reads it afresh.
  platform::testing::SetCursorPosition(400, 300);
  EXPECT_EQ(core->GetMouseX(nullptr), 130);
  KV_VECTOR_D screen = core->GetMousePosition(nullptr);
  EXPECT_EQ(screen.x, 400);
  EXPECT_EQ(screen.y, 300);
  EXPECT_EQ(screen.w, 1);
  KV_VECTOR_D inWindow = core->GetMousePosition("main");
  EXPECT_EQ(inWindow.x, 300);
  EXPECT_EQ(inWindow.y, 250);
  KV_VECTOR_D missing = core->GetMousePosition("nowhere");
  EXPECT_EQ(missing.x, 0);
  EXPECT_EQ(missing.y, 0);
  EXPECT_EQ(missing.w, 1);
}

TEST_F(CoreMouseDialogsTest, CameraShiftsAreTruncatedForWholeNumbersOnly) {
  EXPECT_EQ(core->GetMouseXInCamera("main", "cam"), 30 + 10);
  EXPECT_EQ(core->GetMouseYInCamera("main", "cam"), 2 - 3);
  EXPECT_EQ(core->GetMouseXInCamera("main", "missing"), 30);  // no camera: no shift
  EXPECT_EQ(core->GetMouseXInCamera("main", nullptr), 30);    // no current camera
  EXPECT_EQ(core->GetMouseXInCamera(nullptr, "cam"), 130);    // the screen: no shift
  EXPECT_EQ(core->GetMouseXInCamera("nowhere", "cam"), 0);
  core->currentCamera2D = core->cameras2D.Find(KV_DICTIONARY<KV_CAMERA2D>::FIND_NAME, "cam");
  EXPECT_EQ(core->GetMouseXInCamera("main", nullptr), 40);
  KV_VECTOR_D position = core->GetMousePositionInCamera("main", nullptr);
  EXPECT_DOUBLE_EQ(position.x, 30 + 10.7);
  EXPECT_DOUBLE_EQ(position.y, 2 - 3.2);
  EXPECT_EQ(core->GetMousePositionInCamera("nowhere", "cam").x, 0);
  core->currentCamera2D = KV_LIST_ITERATOR<KV_CAMERA2D>();
}

TEST_F(CoreMouseDialogsTest, RectanglesInTheWindowAndOnTheScreen) {
  EXPECT_TRUE(core->MouseInRect(30, 2, 40, 10, "main"));
  EXPECT_FALSE(core->MouseInRect(0, 0, 30, 2, "main"));    // right and bottom exclusive
  EXPECT_TRUE(core->MouseInRect(0, 0, 130, 52, nullptr));  // every bound inclusive
  EXPECT_FALSE(core->MouseInRect(-1000, -1000, 1000, 1000, "nowhere"));
}

TEST_F(CoreMouseDialogsTest, ButtonsOnASpritesQuadAroundTheWindowOrigin) {
  KV_VECTOR_D ignored(500, 500, 0, 1);
  SetCursor(100 + 14, 50 + 4);  // (14, 4) in the window: inside (-5, -5) .. (15, 5)
  EXPECT_FALSE(core->MouseDownOn("main", "button", ignored, 1));  // no button held
  KvSetMouseDown(1, 1);
  KvSetMousePressed(1, 1);
  EXPECT_TRUE(core->MouseDownOn("main", "button", ignored, 1));
  EXPECT_TRUE(core->MousePressedOn("main", "button", ignored, 1));
  EXPECT_FALSE(core->MouseReleasedOn("main", "button", ignored, 1));
  EXPECT_FALSE(core->MouseDownOn("main", "button", ignored, 2));
  EXPECT_FALSE(core->MouseDownOn("main", "missing", ignored, 1));
  SetCursor(100 + 15, 50 + 4);  // on the right edge: outside
  EXPECT_FALSE(core->MouseDownOn("main", "button", ignored, 1));
  SetCursor(100 - 5, 50 - 5);
  EXPECT_TRUE(core->MouseDownOn("main", "button", ignored, 1));
  // A window that does not exist is no hit, though (0, 0) lies on the quad.
  EXPECT_FALSE(core->MouseDownOn("nowhere", "button", ignored, 1));
  SetCursor(3, 3);
  EXPECT_TRUE(core->MouseDownOn(nullptr, "button", ignored, 1));
}

TEST_F(CoreMouseDialogsTest, MessageBoxCaptionsAndFailureResult) {
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

TEST_F(CoreMouseDialogsTest, ShellOpenAsksTheShellOrGivesOneForAMissingWindow) {
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

TEST_F(CoreMouseDialogsTest, FileDialogsBuildTheRecordAndGiveEmptyWhenNothingIsChosen) {
  KV_STRING out = "old";
  core->FileDialog(out, 10, "Images|*.png", "Open an image", nullptr, 1 | 2 | 4 | 8, "main");
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

  core->FileDialog(out, 11, nullptr, nullptr, "/tmp", 0, nullptr);
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

TEST_F(CoreMouseDialogsTest, BrowseFolderGivesEmptyWhenNothingIsChosen) {
  KV_STRING out = "old";
  core->BrowseFolder(out, "Choose", "main");
  EXPECT_EQ(out, "");
  EXPECT_EQ(platform::testing::LastDialog()->title, "Choose");
}

TEST_F(CoreMouseDialogsTest, ListFilesListsATemporaryFolder) {
  char name[] = "/tmp/kv_list_XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  std::string folder = name;
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
  std::filesystem::remove_all(folder);
}

// With stand-ins for the desktop's programs: the listing's pattern, the dialog's starting folder
// and the document opened through the shell, each written the Windows way, name the same places.
TEST_F(CoreMouseDialogsTest, PathsWrittenTheWindowsWayNameTheSamePlaces) {
  char name[] = "/tmp/kv_core_paths_XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  std::string folder = name;
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
  core->FileDialog(out, 10, nullptr, nullptr, kvtest::WindowsPath(folder + "/docs").c_str(), 0,
                   "main");
  EXPECT_STREQ(out.c_str(), (folder + "/docs/a.txt").c_str());
  std::ifstream zenity(folder + "/zenity.txt");
  std::string line, options;
  while (std::getline(zenity, line)) options += line + "|";
  EXPECT_NE(options.find("|--filename=" + folder + "/docs/|"), std::string::npos) << options;

  kvtest::WriteRecordingScript(folder + "/bin/xdg-open", folder + "/opened.txt");
  EXPECT_GT(core->ShellOpen(kvtest::WindowsPath(folder + "/docs/a.txt").c_str(), "", "main"), 32);
  EXPECT_EQ(kvtest::WaitForFile(folder + "/opened.txt").rfind(folder + "/docs/a.txt\n", 0), 0u);
  std::filesystem::remove_all(folder);
}
