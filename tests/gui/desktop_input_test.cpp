// The GUI driven from the desktop: SDL events injected through the platform's translation, the
// message queue, the real frame loop, the window procedure and the input tables reach the
// widgets of a GUI on a real window placed away from the screen's corner. A button is clicked,
// text is typed and corrected in an edit box, a window is dragged by its title bar; no field
// of the input is written by hand.
#include <functional>

#include "desktop_fixture.h"

namespace {

namespace pt = platform::testing;

class DesktopInputGuiTest : public DesktopGuiTest {
 protected:
  void SetUp() override {
    DesktopGuiTest::SetUp();
    OpenDesktop("Desktop GUI", 800, 600);
  }

  // The pointer put at GUI coordinates by absolute motion that no window hears about (XTEST,
  // a remote desktop): no motion event, only the desktop's pointer moves.
  std::function<void()> JumpTo(int x, int y) {
    return [=, this] { pt::SetCursorPosition(desktop.x + x, desktop.y + y); };
  }
};

}  // namespace

TEST_F(DesktopInputGuiTest, ClicksTypingAndDragsFromTheDesktopReachTheWidgets) {
  // A GUI window at (100, 100) with a 24-pixel title bar; its client area holds a button and an
  // edit box.
  CONTROL* client = WindowWithButton(KV_VECTOR(100, 100, 0, 1), KV_VECTOR(300, 200, 0, 1));
  ASSERT_NE(client, nullptr);
  CONTROL* edit = gui->CreateEditBox("sk", "e", KV_VECTOR(10, 60, 0, 1), KV_VECTOR(100, 20, 0, 1),
                                     "", 0, client);
  auto* field = dynamic_cast<KV_GUI::__edit*>(Part(edit, "editbox"));
  ASSERT_NE(field, nullptr);
  CONTROL* window = client->GetParent();

  // In the desktop window: the button spans (110, 134)-(190, 154), the edit box
  // (110, 184)-(210, 204) and the title bar (100, 100)-(400, 124).
  std::string typed;
  Run({
      MoveTo(120, 140),
      Down(120, 140),
      Up(120, 140),
      MoveTo(150, 190),
      Down(150, 190),
      Up(150, 190),
      [] { pt::InjectText("abx"); },
      [] {
        pt::InjectKey(SDL_SCANCODE_BACKSPACE, true);
        pt::InjectKey(SDL_SCANCODE_BACKSPACE, false);
      },
      [] { pt::InjectText("c"); },
      [&] { typed = field->TextLeft.c_str(); },
      MoveTo(150, 110),
      Down(150, 110),
      DragTo(180, 130),
      DragTo(200, 150),
      Up(200, 150),
  });
  EXPECT_EQ(Heard(), (std::vector<uint32_t>{KV_GUI::BUTTON_ENTERED, KV_GUI::BUTTON_CLICKED,
                                            KV_GUI::BUTTON_LEFT}));
  EXPECT_EQ(typed, "abc");
  EXPECT_EQ(field->Editing, 0);  // the press on the title bar ended the editing
  EXPECT_FLOAT_EQ(window->Position.x, 150);
  EXPECT_FLOAT_EQ(window->Position.y, 140);
}

TEST_F(DesktopInputGuiTest, ThePointerCountsWhereTheDesktopHasItWithoutAnyMotionEvent) {
  CONTROL* client = WindowWithButton(KV_VECTOR(100, 100, 0, 1), KV_VECTOR(300, 200, 0, 1));
  ASSERT_NE(client, nullptr);
  CONTROL* window = client->GetParent();

  // Over the button (110, 134)-(190, 154) and off it, then a title-bar drag whose moves are
  // all jumps: the GUI follows the pointer, and the window moves by exactly the pointer's way.
  Run({
      JumpTo(20, 20),
      JumpTo(120, 140),
      JumpTo(150, 110),
      Down(150, 110),
      JumpTo(180, 130),
      JumpTo(200, 150),
      Up(200, 150),
  });
  EXPECT_EQ(Heard(), (std::vector<uint32_t>{KV_GUI::BUTTON_ENTERED, KV_GUI::BUTTON_LEFT}));
  EXPECT_FLOAT_EQ(window->Position.x, 150);
  EXPECT_FLOAT_EQ(window->Position.y, 140);
}
