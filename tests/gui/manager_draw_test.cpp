// The manager's draw: clipping switched on around all top-level controls, the two-pass draw
// for windows with per-pixel alpha, back-to-front order, and draw procedures that remove
// controls.
#include "gui_fixture.h"

namespace {

std::vector<std::string> StateCalls() {
  std::vector<std::string> calls;
  for (const std::string& line : kv::engine::testing::TracedCalls())
    if (line.rfind("KvSetState(", 0) == 0 &&
        line.rfind(TraceOpening("KvSetState", KV_STATE_CLIP_RECT), 0) != 0)
      calls.push_back(line);
  return calls;
}

typedef GuiTest ManagerDraw;

}  // namespace

TEST_F(ManagerDraw, DrawDoesNothingWithoutAScreen) {
  Add("c", nullptr, 0, 0, 10, 10);
  kv::engine::testing::StartTrace();
  gui->Draw(0);
  kv::engine::testing::StopTrace();
  EXPECT_TRUE(kv::engine::testing::TracedCalls().empty());
  EXPECT_EQ(Joined(), "");
}

TEST_F(ManagerDraw, OnePassClipsAroundAllControlsBackToFront) {
  gui->Attach(&screen);
  Probe* a = Add("a", nullptr, 0, 0, 10, 10);
  Add("b", nullptr, 0, 0, 10, 10);
  Probe* c = Add("c", nullptr, 0, 0, 10, 10);
  Add("a1", a);
  a->Order = -1;  // in front of everything
  c->Order = 1;   // behind everything
  gui->UpdateLayout();
  kv::engine::testing::StartTrace();
  gui->Draw(0);
  kv::engine::testing::StopTrace();
  EXPECT_EQ(Joined(), "dc db da da1 ");
  std::vector<std::string> calls = StateCalls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), TraceCall("KvSetState", KV_STATE_CLIP, 1));
  EXPECT_EQ(calls.back(), TraceCall("KvSetState", KV_STATE_CLIP, 0));
}

TEST_F(ManagerDraw, TwoPassesWriteAlphaThenColour) {
  gui->Attach(&screen);
  Add("a", nullptr, 0, 0, 10, 10);
  gui->UpdateLayout();
  kv::engine::testing::StartTrace();
  gui->Draw(1);
  kv::engine::testing::StopTrace();
  EXPECT_EQ(Joined(), "da da ");
  std::vector<std::string> want = {
      TraceCall("KvSetState", KV_STATE_CLIP, 1),
      TraceCall("KvSetState", KV_STATE_COLOR_MASK, 0, 0, 0, 1),
      TraceCall("KvSetState", KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE),
      TraceCall("KvSetState", KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA,
                KV_BLEND_ONE_MINUS_SRC_ALPHA),
      TraceCall("KvSetState", KV_STATE_COLOR_MASK, 1, 1, 1, 0),
      TraceCall("KvSetState", KV_STATE_COLOR_MASK, 1, 1, 1, 1),
      TraceCall("KvSetState", KV_STATE_CLIP, 0)};
  EXPECT_EQ(StateCalls(), want);
}

TEST_F(ManagerDraw, ADrawProcedureMayRemoveControlsSafely) {
  gui->Attach(&screen);
  Probe* first = Add("1", nullptr, 0, 0, 10, 10);
  Probe* second = Add("2", nullptr, 0, 0, 10, 10);
  Add("1c", first);
  first->Order = 1;  // drawn first
  first->other = second;
  first->onDraw = [](Probe* self) {
    self->GetGui()->RemoveControl(self->other);
    self->GetGui()->RemoveControl(self);
  };
  gui->Draw(0);
  EXPECT_EQ(Joined(), "d1 ~1c ~1 ~2 ");
  EXPECT_EQ(gui->tree.Count(), 0u);
}
