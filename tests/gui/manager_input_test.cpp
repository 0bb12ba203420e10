// The input pass: event bits set by the hit test, read by every event operation, cleared by
// the mask and aged each frame; the hit order; the pointer leaving controls that are switched
// off or moved away under it; removals from inside event operations; and notifications.
#include "gui_fixture.h"

typedef GuiTest ManagerInput;

TEST_F(ManagerInput, NothingHappensWithoutAScreen) {
  Probe* control = Add("c", nullptr, 0, 0, 100, 100);
  Cursor(10, 10);
  Frame();
  EXPECT_EQ(control->events, 0);
  EXPECT_EQ(gui->focus, nullptr);
  EXPECT_FLOAT_EQ(control->Points[8][2].x, 0);  // no layout either
}

TEST_F(ManagerInput, EventBitsAreSetReadAndClearedEachFrame) {
  gui->Attach(&screen);
  Probe* control = Add("c", nullptr, 100, 100, 50, 50);
  gui->UpdateLayout();
  Cursor(110, 120);
  KvSetKeyDown(65, 1);
  KvSetKeyPressed(65, 1);
  gui->ProcessInput();
  EXPECT_EQ(gui->focus, control);
  EXPECT_EQ(control->seen, KV_GUI::EVENT_KEY_PRESSED | KV_GUI::EVENT_KEY_DOWN |
                               KV_GUI::EVENT_ENTERED | KV_GUI::EVENT_OVER | KV_GUI::EVENT_MOVED);
  EXPECT_EQ(control->Events, 0u);
  EXPECT_EQ(control->GetPreviousFlags(), control->seen);
  EXPECT_DOUBLE_EQ(gui->GetMousePosition().x, 110);

  // Next frame: the key edge is gone, the cursor stays: over only, no entered, no moved.
  KvSetKeyPressed(65, 0);
  KvSetKeyDown(65, 0);
  gui->ProcessInput();
  EXPECT_EQ(control->seen, KV_GUI::EVENT_OVER);
  EXPECT_DOUBLE_EQ(gui->GetMouseDelta().x, 0);

  // The cursor leaves.
  Cursor(10, 10);
  gui->ProcessInput();
  EXPECT_EQ(control->seen, KV_GUI::EVENT_LEFT | KV_GUI::EVENT_OUTSIDE | KV_GUI::EVENT_MOVED);
  EXPECT_DOUBLE_EQ(gui->GetMouseDelta().x, -100);
  EXPECT_DOUBLE_EQ(gui->GetMouseDelta().y, -110);
  EXPECT_EQ(gui->focus, nullptr);
}

TEST_F(ManagerInput, TheFrontSiblingWinsAndKeepsTheMaskedBits) {
  gui->Attach(&screen);
  Probe* back = Add("back", nullptr, 0, 0, 100, 100);
  Probe* front = Add("front", nullptr, 50, 50, 100, 100);
  gui->UpdateLayout();
  Cursor(60, 60);
  KvSetMousePressed(1, 1);
  gui->ProcessInput();
  // Equal Order: the later added is in front.
  EXPECT_EQ(gui->focus, front);
  EXPECT_EQ(
      front->seen & (KV_GUI::EVENT_MOUSE_PRESSED | KV_GUI::EVENT_OVER | KV_GUI::EVENT_ENTERED),
      KV_GUI::EVENT_MOUSE_PRESSED | KV_GUI::EVENT_OVER | KV_GUI::EVENT_ENTERED);
  EXPECT_EQ(back->seen & (KV_GUI::EVENT_MOUSE_PRESSED | KV_GUI::EVENT_OVER | KV_GUI::EVENT_ENTERED),
            0u);

  // A lower Order brings the first one to the front.
  back->Order = -1;
  back->NonCorrected = 0;
  gui->ProcessInput();
  EXPECT_EQ(gui->focus, back);
  EXPECT_EQ(front->seen & (KV_GUI::EVENT_MOUSE_PRESSED | KV_GUI::EVENT_OVER), 0u);

  // NonCorrected keeps the bits although it lost.
  front->NonCorrected = 1;
  gui->ProcessInput();
  EXPECT_EQ(gui->focus, back);
  EXPECT_EQ(front->seen & (KV_GUI::EVENT_MOUSE_PRESSED | KV_GUI::EVENT_OVER),
            KV_GUI::EVENT_MOUSE_PRESSED | KV_GUI::EVENT_OVER);
}

TEST_F(ManagerInput, AChildUnderTheCursorBeatsItsParentUnlessNotHitable) {
  gui->Attach(&screen);
  Probe* parent = Add("p", nullptr, 0, 0, 200, 200);
  Probe* child = Add("c", parent, 10, 10, 50, 50);
  gui->UpdateLayout();
  Cursor(20, 20);
  gui->ProcessInput();
  EXPECT_EQ(gui->focus, child);
  child->Hitable = 0;
  gui->ProcessInput();
  EXPECT_EQ(gui->focus, parent);
  EXPECT_EQ(child->seen & KV_GUI::EVENT_OVER,
            0u);  // had it in the hit pass, lost it in the clearing
}

TEST_F(ManagerInput, CutAreaLimitsTheChildrensHitRegion) {
  gui->Attach(&screen);
  Probe* parent = Add("p", nullptr, 0, 0, 100, 100);
  Probe* child = Add("c", parent, 80, 0, 100, 50);  // reaches out to x 180
  gui->UpdateLayout();
  Cursor(150, 10);
  gui->ProcessInput();
  EXPECT_EQ(gui->focus, nullptr);
  EXPECT_EQ(child->seen & KV_GUI::EVENT_OUTSIDE, KV_GUI::EVENT_OUTSIDE);
  parent->CutArea = 0;
  gui->ProcessInput();
  EXPECT_EQ(gui->focus, child);
}

TEST_F(ManagerInput, AControlClippedAwayNeverLeavesWithoutHavingBeenInside) {
  gui->Attach(&screen);
  Probe* parent = Add("p", nullptr, 0, 0, 100, 100);
  Probe* child = Add("c", parent, 200, 200, 50, 50);  // wholly outside its parent
  gui->UpdateLayout();
  Cursor(20, 20);
  gui->ProcessInput();
  Cursor(90, 90);
  gui->ProcessInput();
  EXPECT_EQ(child->seen & (KV_GUI::EVENT_LEFT | KV_GUI::EVENT_ENTERED | KV_GUI::EVENT_OVER), 0u);
}

TEST_F(ManagerInput, AnInactiveControlGetsNoBitsButStillDispatches) {
  gui->Attach(&screen);
  Probe* parent = Add("p", nullptr, 0, 0, 100, 100);
  Probe* child = Add("c", parent, 0, 0, 50, 50);
  parent->Active = 0;
  gui->UpdateLayout();
  Cursor(10, 10);
  KvSetMouseDown(1, 1);
  gui->ProcessInput();
  EXPECT_EQ(parent->events, 1);
  EXPECT_EQ(child->events, 1);
  EXPECT_EQ(parent->seen, 0u);
  EXPECT_EQ(child->seen, 0u);
  EXPECT_EQ(gui->focus, nullptr);
  // The parent's event operation runs before its children's.
  EXPECT_EQ(Joined(), "ep ec ");
}

TEST_F(ManagerInput, AHoveredSubtreeSwitchedOffHearsOnceThatThePointerLeft) {
  gui->Attach(&screen);
  Probe* window = Add("w", nullptr, 20, 20, 100, 100);
  Probe* item = Add("i", window, 0, 0, 50, 50);
  Probe* other = Add("o", window, 60, 60, 20, 20);
  gui->UpdateLayout();
  Cursor(30, 30);
  gui->ProcessInput();
  EXPECT_EQ(item->seen & KV_GUI::EVENT_ENTERED, KV_GUI::EVENT_ENTERED);
  // The window is switched off with the pointer still over the item: the item and the window
  // hear that the pointer left, the control the pointer was not over hears nothing.
  window->Active = 0;
  gui->ProcessInput();
  EXPECT_EQ(window->seen, KV_GUI::EVENT_LEFT);
  EXPECT_EQ(item->seen, KV_GUI::EVENT_LEFT);
  EXPECT_EQ(other->seen, 0u);
  gui->ProcessInput();
  EXPECT_EQ(window->seen, 0u);
  EXPECT_EQ(item->seen, 0u);
}

TEST_F(ManagerInput, AControlMovedFromUnderAStillPointerLeaves) {
  gui->Attach(&screen);
  Probe* control = Add("c", nullptr, 0, 0, 50, 50);
  gui->UpdateLayout();
  Cursor(10, 10);
  gui->ProcessInput();
  control->Position.x = 200;
  gui->UpdateLayout();
  gui->ProcessInput();
  EXPECT_EQ(control->seen & (KV_GUI::EVENT_LEFT | KV_GUI::EVENT_OUTSIDE),
            KV_GUI::EVENT_LEFT | KV_GUI::EVENT_OUTSIDE);
  gui->ProcessInput();
  EXPECT_EQ(control->seen & KV_GUI::EVENT_LEFT, 0u);
}

TEST_F(ManagerInput, AHiddenActiveControlStillTakesTheFocus) {
  gui->Attach(&screen);
  Probe* hidden = Add("h", nullptr, 0, 0, 100, 100);
  hidden->Visible = 0;
  gui->UpdateLayout();
  Cursor(10, 10);
  gui->ProcessInput();
  EXPECT_EQ(gui->focus, hidden);
  EXPECT_EQ(hidden->seen & (KV_GUI::EVENT_OVER | KV_GUI::EVENT_MOUSE_DOWN), KV_GUI::EVENT_OVER);
}

TEST_F(ManagerInput, DetachFromAnEventOperationWaitsForTheEndOfThePass) {
  gui->Attach(&screen);
  Probe* first = Add("1", nullptr);
  Probe* second = Add("2", nullptr);
  Probe* child = Add("2c", second);
  first->other = second;
  first->onEvent = [](Probe* self) { self->other->Detach(); };
  Frame();
  // The detached control and its child still ran this frame, then left with the queue.
  EXPECT_EQ(Joined(), "e1 e2 e2c ~2c ~2 ");
  (void)child;
  EXPECT_EQ(gui->tree.Count(), 1u);
}

TEST_F(ManagerInput, ImmediateRemovalFromAnEventOperationIsSafe) {
  gui->Attach(&screen);
  Probe* first = Add("1", nullptr);
  Probe* second = Add("2", nullptr);
  Add("2c", second);
  // A handler removes a later sibling at once: it is not visited, and nothing freed is touched.
  first->other = second;
  first->onEvent = [](Probe* self) { self->GetGui()->RemoveControl(self->other); };
  gui->ProcessInput();
  EXPECT_EQ(Joined(), "e1 ~2c ~2 ");
}

TEST_F(ManagerInput, AControlThatRemovesItselfIsFreedAfterItsHandler) {
  gui->Attach(&screen);
  Probe* self = Add("s", nullptr);
  Add("sc", self);
  Add("next", nullptr);
  self->onEvent = [](Probe* me) {
    me->GetGui()->RemoveControl(me);
    me->Text = "still alive";  // the pass holds it until it is done with it
  };
  gui->ProcessInput();
  EXPECT_EQ(Joined(), "es ~sc enext ~s ");
}

TEST_F(ManagerInput, SendEventAddsBitsOnlyToActiveTargetsAndClears) {
  gui->Attach(&screen);
  Probe* outer = Add("o", nullptr);
  Probe* inner = Add("i", outer);
  Probe* inner2 = Add("i2", outer);
  gui->SendEvent(outer, KV_GUI::EVENT_NOTIFY_1, KV_GUI::SEND_ADD_BITS, KV_GUI::SEND_ANY_TARGET,
                 KV_GUI::SEND_CLEAR_EVENTS);
  EXPECT_EQ(outer->seen, KV_GUI::EVENT_NOTIFY_1);
  EXPECT_EQ(outer->Events, 0u);
  outer->Active = 0;
  outer->Events = KV_GUI::EVENT_OVER;
  gui->SendEvent(outer, KV_GUI::EVENT_NOTIFY_1, KV_GUI::SEND_ADD_BITS, KV_GUI::SEND_ANY_TARGET,
                 KV_GUI::SEND_CLEAR_EVENTS);
  EXPECT_EQ(outer->seen, KV_GUI::EVENT_OVER);  // not added, but the handler still runs
  EXPECT_EQ(outer->Events, 0u);

  // Sent to the subtree, the bits are passed down and added to each child.
  Probe::Log().clear();
  gui->SendEvent(outer, KV_GUI::EVENT_NOTIFY_2, KV_GUI::SEND_TO_SUBTREE, KV_GUI::SEND_ANY_TARGET,
                 KV_GUI::SEND_KEEP_EVENTS);
  EXPECT_EQ(Joined(), "eo ei ei2 ");
  EXPECT_EQ(inner->seen, KV_GUI::EVENT_NOTIFY_2);
  EXPECT_EQ(inner2->Events, 0u);

  // Only in the tree when asked.
  Probe::Log().clear();
  gui->RemoveControl(inner2);
  Probe loose("loose");
  gui->SendEvent(&loose, KV_GUI::EVENT_NOTIFY_1, KV_GUI::SEND_ADD_BITS, KV_GUI::SEND_TREE_ONLY,
                 KV_GUI::SEND_KEEP_EVENTS);
  EXPECT_EQ(loose.events, 1);  // no node: nothing to check
  gui->SendEvent(nullptr, KV_GUI::EVENT_NOTIFY_1, KV_GUI::SEND_ADD_BITS, KV_GUI::SEND_ANY_TARGET,
                 KV_GUI::SEND_KEEP_EVENTS);
}
