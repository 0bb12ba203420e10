// The window composite's parts: dragging by the title bar, raising, and the three buttons.
#include "widget_fixture.h"

namespace {

class Window : public WidgetTest {
 protected:
  KV_GUI::__window* window = nullptr;
  C_GUI_CONTROL* client = nullptr;
  KV_GUI::__window* bar = nullptr;

  void SetUp() override {
    WidgetTest::SetUp();
    window = Put(new KV_GUI::__window(), nullptr, 100, 100, 200, 100, "winarea");
    client = Outer(window, 0, 24, 200, 76, "client");
    bar = Put(new KV_GUI::__window(), window, 0, 0, 104, 24, "bar");
    Put(new KV_GUI::__window(), window, 104, 0, 32, 24, "btnmini");
    Put(new KV_GUI::__window(), window, 136, 0, 32, 24, "btnfull");
    Put(new KV_GUI::__window(), window, 168, 0, 32, 24, "btnclose");
  }
};

TEST_F(Window, BarDragMovesTheWindowUntilReleased) {
  KV_GUI::__window* other = Put(new KV_GUI::__window(), nullptr, 0, 0, 10, 10);
  other->Order = -5;
  Move(110, 110);
  Press(110, 110);
  EXPECT_EQ(bar->Dragging, 1);
  EXPECT_EQ(window->Order, -1);  // raised alone in front
  EXPECT_EQ(other->Order, 0);
  Move(130, 115);  // held: the window follows
  EXPECT_FLOAT_EQ(window->Position.x, 120);
  EXPECT_FLOAT_EQ(window->Position.y, 105);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"client", KV_GUI::WINDOW_DRAGGED}}));
  Release(140, 120);
  EXPECT_EQ(bar->Dragging, 0);
  Move(160, 130);
  EXPECT_FLOAT_EQ(window->Position.x, 120);
  EXPECT_TRUE(TakeHeard().empty());
}

TEST_F(Window, DragEndsWhenNoButtonIsHeldAnyMore) {
  Move(110, 110);
  Press(110, 110);
  KvSetMouseDown(1, 0);  // the release was missed
  Move(150, 150);
  EXPECT_EQ(bar->Dragging, 0);
  EXPECT_FLOAT_EQ(window->Position.x, 100);
}

TEST_F(Window, ButtonsNotifyTheClientArea) {
  Move(250, 110);
  Click(250, 110);
  Click(220, 110);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"client", KV_GUI::WINDOW_MAXIMIZE},
                                             {"client", KV_GUI::WINDOW_MINIMIZE}}));
  EXPECT_TRUE(gui->Contains(window));
}

bool g_windowInTree = true;

TEST_F(Window, CloseRemovesTheWholeWindowBeforeTheClientHears) {
  client->EventProc = [](CONTROL* c) {
    if (c->Events & KV_GUI::WINDOW_CLOSED) g_windowInTree = c->GetGui() != nullptr;
    Record(c);
  };
  Move(280, 110);
  Click(280, 110);
  EXPECT_FALSE(gui->Contains(window));
  EXPECT_FALSE(g_windowInTree);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"client", KV_GUI::WINDOW_CLOSED}}));
}

}  // namespace
