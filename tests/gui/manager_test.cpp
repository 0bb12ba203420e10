// The manager's control tree: ownership through the tree's shared pointers, immediate and
// deferred removal of subtrees (edit boxes inside end their editing first), searches from the
// root, the tear-down and raising controls.
#include "gui_fixture.h"
#include "gui/widgets/edit.h"

namespace {

typedef GuiTest Manager;

TEST_F(Manager, AddControlHandsOwnershipToTheTree) {
  ASSERT_TRUE(gui->Attach(&screen));
  Probe* window = Add("w", nullptr);
  Probe* child = Add("c", window);
  Probe* grandchild = Add("g", child);
  EXPECT_EQ(window->GetGui(), gui);
  EXPECT_EQ(child->GetParent(), window);
  EXPECT_EQ(window->GetParent(), gui->GetRoot());
  EXPECT_EQ(grandchild->GetNode()->parent, child->GetNode());
  EXPECT_TRUE(gui->Contains(grandchild));
  EXPECT_TRUE(gui->HasNode(grandchild->GetNode()));
  EXPECT_TRUE(window->Contains(grandchild));
  EXPECT_FALSE(child->Contains(window));

  // The tree frees them all with the manager.
  delete gui;
  gui = nullptr;
  EXPECT_EQ(Probe::Destroyed(), 3);
}

TEST_F(Manager, AddControlRefusesWhatItCannotOwnSafely) {
  EXPECT_EQ(gui->AddControl(nullptr, nullptr), nullptr);
  Probe* placed = Add("p", nullptr);
  // A control already in the tree would be owned (and freed) twice.
  EXPECT_EQ(gui->AddControl(placed, nullptr), nullptr);
  EXPECT_EQ(gui->tree.Count(), 1u);
  // A parent that is in no tree has no node to hang the child on.
  Probe loose("loose");
  Probe* orphan = new Probe("o");
  EXPECT_EQ(gui->AddControl(orphan, &loose), nullptr);
  EXPECT_EQ(orphan->GetGui(), nullptr);
  // A parent of another manager.
  KV_GUI other;
  Probe* foreign = new Probe("f");
  ASSERT_EQ(other.AddControl(foreign, nullptr), foreign);
  EXPECT_EQ(gui->AddControl(orphan, foreign), nullptr);
  delete orphan;  // never taken: still the caller's
}

TEST_F(Manager, RemoveControlFreesTheSubtreeAtOnce) {
  gui->Attach(&screen);
  Probe* a = Add("a", nullptr);
  Probe* a1 = Add("a1", a);
  Add("a11", a1);
  Probe* b = Add("b", nullptr);
  EXPECT_TRUE(gui->RemoveControl(a1));
  EXPECT_EQ(Probe::Destroyed(), 2);
  EXPECT_EQ(a->GetNode()->Count(), 0u);
  EXPECT_TRUE(gui->Contains(b));
  EXPECT_FALSE(gui->RemoveControl(gui->GetRoot()));
  EXPECT_FALSE(gui->RemoveControl(nullptr));
  Probe loose("loose");
  EXPECT_FALSE(gui->RemoveControl(&loose));
}

TEST_F(Manager, DetachWaitsForTheQueueAndHandlesRepeatsAndAncestors) {
  gui->Attach(&screen);
  Probe* parent = Add("p", nullptr);
  Probe* child = Add("c", parent);
  Probe* other = Add("o", nullptr);
  child->Detach();
  parent->Detach();
  parent->Detach();
  EXPECT_EQ(gui->deletionQueue.Count(), 3u);
  EXPECT_EQ(Probe::Destroyed(), 0);  // nothing changes before the queue is emptied
  gui->DestroyQueued();
  EXPECT_EQ(Probe::Destroyed(), 2);
  EXPECT_EQ(gui->deletionQueue.Count(), 0u);
  EXPECT_TRUE(gui->Contains(other));
  EXPECT_EQ(gui->tree.Count(), 1u);

  Probe never("n");
  never.Detach();
  EXPECT_EQ(gui->deletionQueue.Count(), 0u);
}

TEST_F(Manager, WithoutAScreenQueuedDetachesAreForgotten) {
  Probe* control = Add("c", nullptr);
  control->Detach();
  gui->DestroyQueued();
  EXPECT_EQ(gui->deletionQueue.Count(), 0u);
  EXPECT_EQ(Probe::Destroyed(), 0);
  EXPECT_EQ(gui->tree.Count(), 1u);
}

TEST_F(Manager, ImmediateRemovalDropsQueuedEntriesOfTheSubtree) {
  gui->Attach(&screen);
  Probe* window = Add("w", nullptr);
  Probe* button = Add("b", window);
  button->Detach();
  ASSERT_TRUE(gui->RemoveControl(window));
  // A new control may now sit where the old node was; the stale entry must not remove it.
  Probe* fresh = Add("f", nullptr);
  EXPECT_EQ(gui->deletionQueue.Count(), 0u);
  gui->DestroyQueued();
  EXPECT_TRUE(gui->Contains(fresh));
}

TEST_F(Manager, DestroyAllEmptiesTheTreeButKeepsRootAndSkins) {
  gui->Attach(&screen);
  Add("a", Add("b", nullptr));
  Add("c", nullptr)->Detach();
  gui->styles.Get("s");
  gui->skins.Get("k");
  *gui->textures.GetValue("null") = KV_HANDLE();
  gui->fonts.Get("f");
  gui->DestroyAll();
  EXPECT_EQ(Probe::Destroyed(), 3);
  EXPECT_EQ(gui->tree.Count(), 0u);
  EXPECT_EQ(gui->deletionQueue.Count(), 0u);
  EXPECT_EQ(gui->styles.CountName(nullptr), 0u);
  EXPECT_EQ(gui->textures.CountName(nullptr), 0u);
  EXPECT_EQ(gui->fonts.CountName(nullptr), 0u);
  EXPECT_EQ(gui->skins.CountName(nullptr), 1u);
  EXPECT_NE(gui->GetRoot(), nullptr);
  EXPECT_EQ(gui->GetScreen(), &screen);
  // The tree still takes new controls.
  EXPECT_TRUE(gui->Contains(Add("d", nullptr)));
}

TEST_F(Manager, BringToFrontRaisesAboveTheLowestSibling) {
  gui->Attach(&screen);
  Probe* a = Add("a", nullptr);
  Probe* b = Add("b", nullptr);
  Add("c", nullptr);
  gui->BringToFront(a, 0);
  EXPECT_FLOAT_EQ(a->Order, -1);
  gui->BringToFront(a, 0);
  EXPECT_FLOAT_EQ(a->Order, -2);
  gui->BringToFront(b, 1);
  EXPECT_FLOAT_EQ(a->Order, 0);
  EXPECT_FLOAT_EQ(b->Order, -1);
  gui->BringToFront(b, 1);
  EXPECT_FLOAT_EQ(b->Order, -1);
  Probe loose("loose");
  gui->BringToFront(&loose, 0);
  EXPECT_FLOAT_EQ(loose.Order, 0);
}

// ---- edit boxes inside a removed subtree end their editing first ----

struct ENDING {
  int heard = 0;
  bool inTree = false;
  std::string text;
  bool removeAgain = false;  // the handler removes the whole window itself
  CONTROL* window = nullptr;
};
ENDING ending;

// The outer edit box's procedure: on the end of editing it reads the box and its place.
void OnEditEnded(CONTROL* outer) {
  if (!(outer->Events & KV_GUI::EDIT_ENDED)) return;
  ++ending.heard;
  KV_GUI* gui = outer->GetGui();
  ending.inTree = gui != nullptr && gui->Contains(outer);
  KV_STRING text;
  if (gui != nullptr && gui->EditBoxGetText(outer, text)) ending.text = text.c_str();
  if (ending.removeAgain && gui != nullptr) {
    EXPECT_TRUE(gui->RemoveControl(ending.window));
  }
}

class EditingRemoval : public GuiTest {
 protected:
  CONTROL* window = nullptr;
  KV_GUI::__edit* field = nullptr;

  void SetUp() override {
    GuiTest::SetUp();
    gui->Attach(&screen);
    ending = ENDING();
    window = Add("w", nullptr);
    auto* outer = new KvCore::Com::C_GUI_CONTROL();
    outer->EventProc = OnEditEnded;
    ASSERT_EQ(gui->AddControl(outer, window), outer);
    field = new KV_GUI::__edit();
    field->SetTag("editbox");
    ASSERT_EQ(gui->AddControl(field, outer), field);
    field->Editing = 1;
    field->TextLeft = "ab";
    ending.window = window;
  }
};

TEST_F(EditingRemoval, TheBoxEndsEditingWhileItsFormIsStillInTheTree) {
  EXPECT_TRUE(gui->RemoveControl(window));
  EXPECT_EQ(ending.heard, 1);
  EXPECT_TRUE(ending.inTree);
  EXPECT_EQ(ending.text, "ab");
  EXPECT_EQ(gui->tree.Count(), 0u);
}

TEST_F(EditingRemoval, TheQueuedRemovalEndsEditingToo) {
  window->Detach();
  gui->DestroyQueued();
  EXPECT_EQ(ending.heard, 1);
  EXPECT_TRUE(ending.inTree);
  EXPECT_EQ(gui->tree.Count(), 0u);
}

TEST_F(EditingRemoval, AHandlerThatRemovesTheWindowItselfLeavesNothingToFreeTwice) {
  ending.removeAgain = true;
  EXPECT_TRUE(gui->RemoveControl(window));
  EXPECT_EQ(ending.heard, 1);
  EXPECT_EQ(gui->tree.Count(), 0u);
  EXPECT_EQ(Probe::Destroyed(), 1);
}

TEST_F(EditingRemoval, TheTearDownRunsNoHandler) {
  gui->DestroyAll();
  EXPECT_EQ(ending.heard, 0);
}

}  // namespace
