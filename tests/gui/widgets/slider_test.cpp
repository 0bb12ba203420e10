// Slider bars: a drag from a click on the bar, the thumb centred on the cursor and held within
// the bar, a notification every frame until the release.
#include "widget_fixture.h"

namespace {

class Slider : public WidgetTest {
 protected:
  C_GUI_CONTROL* outer = nullptr;
  KV_GUI::__slider* bar = nullptr;
  KV_GUI::__default* thumb = nullptr;

  void Make(const char* part, float w, float h, float side) {
    outer = Outer(nullptr, 50, 40, w, h, "slider");
    bar = Put(new KV_GUI::__slider(), outer, 0, 0, w, h, part);
    thumb = Put(new KV_GUI::__default(), bar, 0, 0, side, side);
    thumb->Hitable = 0;
  }
};

TEST_F(Slider, HorizontalThumbFollowsTheCursorWithinTheBar) {
  Make("hbar", 100, 10, 10);
  Press(80, 45);
  EXPECT_EQ(bar->Dragging, 1);
  EXPECT_FLOAT_EQ(thumb->Position.x, 80 - 50 - 5);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"slider", KV_GUI::SLIDER_DRAGGED_H}}));
  Move(500, 300);  // far outside: held at the end
  EXPECT_FLOAT_EQ(thumb->Position.x, 90);
  Move(0, 0);
  EXPECT_FLOAT_EQ(thumb->Position.x, 0);
  Move(0, 0);  // no movement: still notified
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>(3, Heard{"slider", KV_GUI::SLIDER_DRAGGED_H})));
  Release(300, 300);  // released outside: the drag ends
  EXPECT_EQ(bar->Dragging, 0);
  TakeHeard();
  Move(70, 45);
  EXPECT_FLOAT_EQ(thumb->Position.x, 0);
  EXPECT_TRUE(TakeHeard().empty());
}

TEST_F(Slider, VerticalThumbMovesOnY) {
  Make("vbar", 10, 100, 10);
  Press(55, 60);
  EXPECT_FLOAT_EQ(thumb->Position.y, 60 - 40 - 5);
  EXPECT_FLOAT_EQ(thumb->Position.x, 0);
  Move(55, 1000);
  EXPECT_FLOAT_EQ(thumb->Position.y, 90);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>(2, Heard{"slider", KV_GUI::SLIDER_DRAGGED_V})));
}

TEST_F(Slider, BarWithoutAThumbDoesNothing) {
  outer = Outer(nullptr, 0, 0, 100, 10, "slider");
  bar = Put(new KV_GUI::__slider(), outer, 0, 0, 100, 10, "hbar");
  Press(10, 5);
  EXPECT_EQ(bar->Dragging, 1);
  EXPECT_TRUE(TakeHeard().empty());
}

}  // namespace
