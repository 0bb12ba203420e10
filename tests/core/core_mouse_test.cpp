// The central object's mouse queries against named windows, 2D cameras and sprites: positions
// in a window and on the screen, camera shifts, rectangles, and buttons on a sprite's quad.
#include "app/app_fixture.h"
#include "core/core.h"
#include "platform/testing/testing.h"

namespace {

class CoreMouseTest : public AppTest {
 protected:
  KV_CORE* core = nullptr;

  void SetUp() override {
    AppTest::SetUp();
    core = new KV_CORE();
    KV_WINDOW& window = *core->windows.GetValue("main", 7);
    window.x = 100;
    window.y = 50;
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
    AppTest::TearDown();
  }

  static void SetCursor(int x, int y) {
    platform::testing::SetCursorPosition(x, y);
    KvCursorRefresh();
  }
};

}  // namespace

TEST_F(CoreMouseTest, MousePositionsInTheWindowOnTheScreenAndForMissingWindows) {
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

TEST_F(CoreMouseTest, CameraShiftsAreTruncatedForWholeNumbersOnly) {
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

TEST_F(CoreMouseTest, RectanglesInTheWindowAndOnTheScreen) {
  EXPECT_TRUE(core->MouseInRect(30, 2, 40, 10, "main"));
  EXPECT_FALSE(core->MouseInRect(0, 0, 30, 2, "main"));    // right and bottom exclusive
  EXPECT_TRUE(core->MouseInRect(0, 0, 130, 52, nullptr));  // every bound inclusive
  EXPECT_FALSE(core->MouseInRect(-1000, -1000, 1000, 1000, "nowhere"));
}

TEST_F(CoreMouseTest, ButtonsOnASpritesQuadAroundTheWindowOrigin) {
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
