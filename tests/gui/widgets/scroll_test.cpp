// The scroll plane's thumbs: size from the view, drag with clamping, content offset.
#include "widget_fixture.h"

namespace {

class Scroll : public WidgetTest {
 protected:
  KV_GUI::__default* area = nullptr;
  C_GUI_CONTROL* content = nullptr;
  KV_GUI::__scroll* thumb = nullptr;
  KV_GUI::__scroll* vthumb = nullptr;

  // A 100 x 100 plane with 10-pixel bars and a 300-wide, 150-high content.
  void SetUp() override {
    WidgetTest::SetUp();
    area = Put(new KV_GUI::__default(), nullptr, 0, 0, 100, 100, "scrollarea");
    area->MarginRight = 10;
    area->MarginBottom = 10;
    area->CutMarginRight = -10;  // the bars lie in the margins yet are hit
    area->CutMarginBottom = -10;
    content = Outer(area, 0, 0, 90, 90, "content");
    KV_GUI::__scroll* track = Put(new KV_GUI::__scroll(), area, 0, 90, 90, 10, "hscrollb");
    thumb = Put(new KV_GUI::__scroll(), track, 0, 0, 30, 10, "hscrollf");
    thumb->ContentExtent = 300;
    KV_GUI::__scroll* vtrack = Put(new KV_GUI::__scroll(), area, 90, 0, 10, 90, "vscrollb");
    vthumb = Put(new KV_GUI::__scroll(), vtrack, 0, 0, 10, 30, "vscrollf");
    vthumb->ContentExtent = 150;
  }
};

TEST_F(Scroll, ThumbsTakeTheirSizeFromViewAndContent) {
  Move(200, 200);
  EXPECT_FLOAT_EQ(thumb->Size.x, 90.0f * 90.0f / 300.0f);
  EXPECT_FLOAT_EQ(vthumb->Size.y, 90.0f * 90.0f / 150.0f);
  thumb->ContentExtent = 20;  // smaller than the view: the thumb fills it
  Move(200, 200);
  EXPECT_FLOAT_EQ(thumb->Size.x, 90);
}

TEST_F(Scroll, DraggedThumbFollowsThePointerClampedAndScrollsTheContent) {
  Move(5, 95);
  Press(5, 95);
  EXPECT_EQ(thumb->Dragging, 1);
  EXPECT_FLOAT_EQ(thumb->GrabOffset, 5);
  Move(25, 95);
  EXPECT_FLOAT_EQ(thumb->Position.x, 20);
  // -(max(100, 300) + 0 - 90) * 20 / (90 - 27)
  EXPECT_FLOAT_EQ(content->ChildOffset.x, -(300.0f - 90.0f) * 20.0f / (90.0f - 27.0f));
  EXPECT_EQ(TakeHeard(), std::vector<Heard>{});  // the track hears it, not the content
  Move(500, 95);
  EXPECT_FLOAT_EQ(thumb->Position.x, 90 - 27);
  Move(-50, 95);
  EXPECT_FLOAT_EQ(thumb->Position.x, 0);
  EXPECT_FLOAT_EQ(content->ChildOffset.x, 0);
  Release(40, 95);
  EXPECT_EQ(thumb->Dragging, 0);
  EXPECT_FLOAT_EQ(thumb->GrabOffset, 0);
  Move(60, 95);
  EXPECT_FLOAT_EQ(thumb->Position.x, 0);
}

TEST_F(Scroll, VerticalThumbScrollsOnY) {
  Move(95, 5);
  Press(95, 5);
  Move(95, 35);
  EXPECT_FLOAT_EQ(vthumb->Position.y, 30);
  EXPECT_FLOAT_EQ(content->ChildOffset.y, -(150.0f - 90.0f) * 30.0f / (90.0f - 54.0f));
}

TEST_F(Scroll, ThumbBeyondANegativeViewEndsAtViewMinusThumb) {
  area->MarginRight = 120;  // view -20
  area->CutMarginRight = -120;
  thumb->ContentExtent = 0;
  content->Size.x = 0;  // no wider than the thumb
  Press(5, 95);         // hits the thumb before it shrinks to nothing
  Move(6, 95);
  // max(view, extent) is 0: an empty thumb instead of a division by zero.
  EXPECT_EQ(thumb->Size.x, 0);
  EXPECT_FLOAT_EQ(thumb->Position.x, -20);  // raised to 0, then lowered to view - thumb
  EXPECT_FLOAT_EQ(content->ChildOffset.x, 0);
}

TEST_F(Scroll, TrackHearsTheDragNotification) {
  struct Track : KV_GUI::__scroll {
    uint32_t heard = 0;
    void OnEvent() override { heard |= Events & KV_GUI::EVENT_NOTIFICATIONS; }
  };
  Track* track = Put(new Track(), area, 0, 0, 0, 0, "hscrollb");
  track->CutArea = 0;
  KV_GUI::__scroll* own = Put(new KV_GUI::__scroll(), track, 0, 0, 10, 10, "hscrollf");
  own->Order = -1;
  track->Order = -1;
  Move(2, 2);
  Press(2, 2);
  Move(3, 2);
  EXPECT_EQ(track->heard, KV_GUI::SCROLL_DRAGGED_H);
}

}  // namespace
