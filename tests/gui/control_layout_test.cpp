// Layout against parents: each layout flag against the screen and against a parent, the
// border split from the style, and the corner points of the nine areas.
#include "gui_fixture.h"

namespace {

// A control of the given flags, position and size, and where layout must put it.
struct Case {
  uint32_t flags;
  KV_VECTOR position, size;
  KV_VECTOR wantPosition, wantSize;
};

class ControlLayout : public GuiTest {
 protected:
  // Adds the case's control under parent (the 800 x 600 screen when null), lays it out, checks
  // its place and size, and removes it again.
  void Check(const Case& c, Probe* parent) {
    Probe* control = Add("c", parent);
    control->Behaviour = c.flags;
    control->Position = c.position;
    control->Size = c.size;
    gui->UpdateLayout();
    SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.flags);
    EXPECT_FLOAT_EQ(control->Position.x, c.wantPosition.x);
    EXPECT_FLOAT_EQ(control->Position.y, c.wantPosition.y);
    EXPECT_FLOAT_EQ(control->Size.x, c.wantSize.x);
    EXPECT_FLOAT_EQ(control->Size.y, c.wantSize.y);
    gui->RemoveControl(control);
  }
};

}  // namespace

TEST_F(ControlLayout, EachFlagAgainstTheScreen) {
  gui->Attach(&screen);
  const Case cases[] = {
      {KV_GUI::INHERIT_WIDTH, {5, 5}, {10, 10}, {5, 5}, {800, 10}},
      {KV_GUI::INHERIT_HEIGHT, {5, 5}, {10, 10}, {5, 5}, {10, 600}},
      {KV_GUI::FIT_TO_EDGE_TOP, {5, 7}, {10, 10}, {5, 0}, {10, 17}},
      {KV_GUI::FIT_TO_EDGE_LEFT, {5, 7}, {10, 10}, {0, 7}, {15, 10}},
      {KV_GUI::FIT_TO_EDGE_BOTTOM, {5, 100}, {10, 10}, {5, 100}, {10, 500}},
      {KV_GUI::FIT_TO_EDGE_RIGHT, {300, 5}, {10, 10}, {300, 5}, {500, 10}},
      {KV_GUI::DOCK_TO_MIDDLE, {5, 5}, {10, 50}, {5, 275}, {10, 50}},
      {KV_GUI::DOCK_TO_CENTER, {5, 5}, {100, 10}, {350, 5}, {100, 10}},
      {KV_GUI::DOCK_TO_EDGE_TOP, {5, 5}, {10, 30}, {5, -30}, {10, 30}},
      {KV_GUI::DOCK_TO_EDGE_LEFT, {5, 5}, {40, 10}, {-40, 5}, {40, 10}},
      {KV_GUI::DOCK_TO_EDGE_BOTTOM, {5, 5}, {10, 10}, {5, 600}, {10, 10}},
      {KV_GUI::DOCK_TO_EDGE_RIGHT, {5, 5}, {10, 10}, {800, 5}, {10, 10}},
      {KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE, {5, 5}, {10, 20}, {5, 580}, {10, 20}},
      {KV_GUI::DOCK_TO_EDGE_RIGHT_INSIDE, {5, 5}, {100, 10}, {700, 5}, {100, 10}},
      {KV_GUI::CENTRALIZE, {0, 0}, {100, 50}, {350, 275}, {100, 50}},
      // INHERIT before FIT before DOCK: the whole screen, then centred (no move).
      {KV_GUI::INHERIT_SIZE | KV_GUI::CENTRALIZE, {3, 3}, {1, 1}, {0, 0}, {800, 600}},
      {KV_GUI::FIT_TO_EDGE, {10, 20}, {30, 40}, {0, 0}, {800, 600}},
  };
  for (const Case& c : cases) Check(c, nullptr);
}

TEST_F(ControlLayout, EachFlagAgainstAParentWithMargins) {
  gui->Attach(&screen);
  Probe* parent = Add("p", nullptr, 0, 0, 200, 100);
  parent->MarginTop = 2;
  parent->MarginBottom = 4;
  parent->MarginLeft = 5;
  parent->MarginRight = 5;
  const Case cases[] = {
      {KV_GUI::INHERIT_SIZE, {1, 1}, {10, 10}, {1, 1}, {200, 100}},
      {KV_GUI::FIT_TO_EDGE_RIGHT, {10, 0}, {1, 1}, {10, 0}, {180, 1}},
      {KV_GUI::FIT_TO_EDGE_BOTTOM, {0, 10}, {1, 1}, {0, 10}, {1, 84}},
      {KV_GUI::DOCK_TO_MIDDLE, {0, 0}, {1, 20}, {0, 38}, {1, 20}},
      {KV_GUI::DOCK_TO_CENTER, {0, 0}, {40, 1}, {75, 0}, {40, 1}},
      {KV_GUI::DOCK_TO_EDGE_BOTTOM, {0, 0}, {1, 1}, {0, 96}, {1, 1}},
      {KV_GUI::DOCK_TO_EDGE_RIGHT, {0, 0}, {1, 1}, {195, 0}, {1, 1}},
      {KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE, {0, 0}, {1, 10}, {0, 86}, {1, 10}},
      {KV_GUI::DOCK_TO_EDGE_RIGHT_INSIDE, {0, 0}, {20, 1}, {175, 0}, {20, 1}},
      {KV_GUI::DOCK_TO_EDGE_TOP | KV_GUI::DOCK_TO_EDGE_LEFT,
       {0, 0},
       {20, 10},
       {-20, -10},
       {20, 10}},
  };
  for (const Case& c : cases) Check(c, parent);
}

TEST_F(ControlLayout, PointsArePlacedFromTheParentsDrawnCorner) {
  gui->Attach(&screen);
  Probe* parent = Add("p", nullptr, 100, 50, 200, 100);
  parent->MarginLeft = 4;
  parent->MarginTop = 3;
  parent->ChildOffset = KV_VECTOR(-10, -20, 0, 1);
  Probe* child = Add("c", parent, 10, 5, 30, 20);
  child->Offset = KV_VECTOR(1, 2, 0, 1);
  child->MarginRight = 6;
  gui->UpdateLayout();
  EXPECT_FLOAT_EQ(parent->GetPosition().x, 104);
  EXPECT_FLOAT_EQ(parent->GetPosition().y, 53);
  // 104 + 10 + 1 - 10 and 53 + 5 + 2 - 20.
  EXPECT_FLOAT_EQ(child->Points[0][0].x, 105);
  EXPECT_FLOAT_EQ(child->Points[0][0].y, 40);
  EXPECT_FLOAT_EQ(child->GetSize().x, 24);
  EXPECT_FLOAT_EQ(child->GetSize().y, 20);
  EXPECT_FLOAT_EQ(child->GetSize().w, 1);
  // Without a style every border has zero extent: all corners of the middle area are the box.
  EXPECT_FLOAT_EQ(child->Points[4][0].x, 105);
  EXPECT_FLOAT_EQ(child->Points[4][2].x, 129);
  EXPECT_FLOAT_EQ(child->Points[0][2].x, 105);
}

TEST_F(ControlLayout, TheStyleSplitSizesTheBordersWithinTheControl) {
  gui->Attach(&screen);
  KV_GUI::STYLE_HANDLE handle = gui->styles.Get("frame");
  KV_GUI::STYLE* style = handle.Get();
  style->AreaSplit[KV_GUI::STYLE::SPLIT_LEFT] = 80;
  style->AreaSplit[KV_GUI::STYLE::SPLIT_RIGHT] = 80;
  style->AreaSplit[KV_GUI::STYLE::SPLIT_TOP] = 50;
  style->AreaSplitPercent[KV_GUI::STYLE::SPLIT_TOP] = '%';
  style->AreaSplit[KV_GUI::STYLE::SPLIT_BOTTOM] = 5;
  Probe* control = Add("c", nullptr, 0, 0, 100, 40);
  control->StyleActive = handle;
  gui->UpdateLayout();
  // Left 80, right cut to 20: the middle column is empty.
  EXPECT_FLOAT_EQ(control->Points[0][1].x, 80);
  EXPECT_FLOAT_EQ(control->Points[2][0].x, 80);
  EXPECT_FLOAT_EQ(control->Points[2][1].x, 100);
  EXPECT_FLOAT_EQ(control->Points[4][1].x - control->Points[4][0].x, 0);
  // Top 50 % of 40 = 20; bottom 5.
  EXPECT_FLOAT_EQ(control->Points[0][2].y, 20);
  EXPECT_FLOAT_EQ(control->Points[6][0].y, 35);
  EXPECT_FLOAT_EQ(control->Points[8][2].y, 40);

  // The inactive control uses StyleUnactive, which is empty here.
  control->Active = 0;
  gui->UpdateLayout();
  EXPECT_FLOAT_EQ(control->Points[0][1].x, 0);
  EXPECT_FLOAT_EQ(control->Points[4][2].x, 100);
}

TEST_F(ControlLayout, DockingRecomputesEveryFrameWhileFittingAbsorbs) {
  gui->Attach(&screen);
  Probe* docked = Add("d", nullptr, 0, 0, 100, 10);
  docked->Behaviour = KV_GUI::DOCK_TO_EDGE_RIGHT_INSIDE;
  Probe* fitted = Add("f", nullptr, 0, 30, 10, 10);
  fitted->Behaviour = KV_GUI::FIT_TO_EDGE_TOP;
  gui->UpdateLayout();
  docked->Position.x = 3;
  gui->UpdateLayout();
  EXPECT_FLOAT_EQ(docked->Position.x, 700);
  EXPECT_FLOAT_EQ(fitted->Position.y, 0);
  EXPECT_FLOAT_EQ(fitted->Size.y, 40);
}

TEST_F(ControlLayout, NoLayoutWithoutScreenOrOutsideATree) {
  Probe* control = Add("c", nullptr, 10, 10, 20, 20);
  control->Behaviour = KV_GUI::INHERIT_SIZE;
  control->UpdateLayout();
  EXPECT_FLOAT_EQ(control->Size.x, 20);
  EXPECT_FLOAT_EQ(control->Points[8][2].x, 0);
  Probe loose("loose", 1, 1, 1, 1);
  loose.Behaviour = KV_GUI::INHERIT_SIZE;
  loose.UpdateLayout();
  EXPECT_FLOAT_EQ(loose.Size.x, 1);
}
