// The control record: its defaults, depth comparison, copying and tag, and the application
// control's two procedures.
#include <cstring>

#include "gui_fixture.h"

namespace {

typedef GuiTest Control;

TEST_F(Control, ControlRecordDefaultsCompareCopyAndTag) {
  Probe a("a"), b("b");
  EXPECT_EQ(a.Active, 1);
  EXPECT_EQ(a.CutArea, 1);
  EXPECT_EQ(a.NonCorrected, 0);
  EXPECT_TRUE(a.StyleActive.IsEnd());
  EXPECT_FLOAT_EQ(a.GetSize().x, 0);
  EXPECT_FLOAT_EQ(a.GetSize().w, 1);
  EXPECT_EQ(a.GetParent(), nullptr);

  CONTROL* pa = &a;
  CONTROL* pb = &b;
  a.Order = 2;
  b.Order = 1;
  EXPECT_EQ(CONTROL::CompareDepth(&pa, &pb), 1);
  EXPECT_EQ(CONTROL::CompareDepth(&pb, &pa), -1);
  b.Order = 2;
  EXPECT_EQ(CONTROL::CompareDepth(&pa, &pb), 0);

  a.SetTag("listbox");
  a.Text = "hello";
  a.Size = KV_VECTOR(5, 6, 0, 1);
  b = a;
  EXPECT_EQ(b.GetTag(), "listbox");
  EXPECT_EQ(b.Text, "hello");
  EXPECT_FLOAT_EQ(b.Size.y, 6);
  // The tag was copied into a block of its own.
  a.SetTag("x");
  EXPECT_EQ(b.GetTag(), "listbox");
  EXPECT_NE(a.Extend.GetData(), b.Extend.GetData());
  a.SetTag(nullptr);
  EXPECT_EQ(a.GetTag(), "");
}

TEST_F(Control, ApplicationControlCallsItsProceduresOnlyWhenSet) {
  static int events = 0, draws = 0;
  events = draws = 0;
  KvCore::Com::C_GUI_CONTROL control;
  control.OnEvent();
  control.OnDraw();
  control.EventProc = [](CONTROL*) { ++events; };
  control.RenderProc = [](CONTROL*) { ++draws; };
  control.OnEvent();
  control.OnDraw();
  control.OnDraw();
  EXPECT_EQ(events, 1);
  EXPECT_EQ(draws, 2);
}

}  // namespace
