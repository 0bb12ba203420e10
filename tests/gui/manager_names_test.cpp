// The manager's controls by name: names whose control left the tree are purged, and named
// composites leave the tree whole and at once with every name inside them.
#include "composite_fixture.h"

namespace {

const KV_VECTOR POS(10, 10, 0, 1);
const KV_HANDLE NO_ICON = {};

typedef GuiTest ManagerNames;
typedef CompositeTest NamedRemoval;

TEST_F(ManagerNames, PurgeNamesDropsControlsThatLeftTheTree) {
  gui->Attach(&screen);
  Probe* kept = Add("k", nullptr);
  Probe* gone = Add("g", nullptr);
  Probe* goneChild = Add("gc", gone);
  *gui->controls.GetValue("kept") = kept;
  *gui->controls.GetValue("gone") = gone;
  *gui->controls.GetValue("goneChild") = goneChild;
  *gui->controls.GetValue("alias") = gone;
  gui->RemoveControl(gone);
  gui->PurgeNames();
  EXPECT_EQ(gui->controls.CountName(nullptr), 1u);
  EXPECT_EQ(*gui->controls.Find(1, "kept").Get(), kept);
}

TEST_F(ManagerNames, BeforeAttachOnlyTheRootIsFoundSoEveryNameIsPurged) {
  Probe* control = Add("c", nullptr);
  *gui->controls.GetValue("c") = control;
  EXPECT_TRUE(gui->Contains(gui->GetRoot()));
  EXPECT_FALSE(gui->Contains(control));
  gui->PurgeNames();
  EXPECT_EQ(gui->controls.CountName(nullptr), 0u);
}

TEST_F(NamedRemoval, NamedCompositesLeaveWholeAndAtOnce) {
  CONTROL* client = gui->CreateWindow("sk", "w", "", POS, KV_VECTOR(200, 200, 0, 1),
                                      KV_GUI::WINDOW_TITLE_BAR | KV_GUI::WINDOW_CLOSE_BUTTON,
                                      NO_ICON, 0, 0, 0, 0, nullptr);
  CONTROL* inner =
      gui->CreateButton("sk", "inner", "", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, client);
  CONTROL* list =
      gui->CreateListBox("sk", "lb", POS, KV_VECTOR(50, 50, 0, 1), 5, 0, 0, 0, 0, nullptr);
  CONTROL* button =
      gui->CreateButton("sk", "b", "", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, nullptr);
  CONTROL* unnamed = gui->CreateStatic("sk", nullptr, "", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  EXPECT_EQ(TopLevelCount(), 4u);

  EXPECT_FALSE(gui->RemoveNamed(nullptr));
  EXPECT_FALSE(gui->RemoveNamedParent(nullptr));
  // A control filed under no name stays.
  EXPECT_FALSE(gui->RemoveNamed(unnamed));
  EXPECT_TRUE(gui->Contains(unnamed));
  // The whole window leaves at once, and the name of the button inside goes with it.
  EXPECT_TRUE(gui->RemoveNamedParent(client));
  EXPECT_EQ(TopLevelCount(), 3u);
  EXPECT_EQ(Named("w"), nullptr);
  EXPECT_EQ(Named("inner"), nullptr);
  (void)inner;
  EXPECT_TRUE(gui->RemoveNamedParent(list));
  EXPECT_TRUE(gui->RemoveNamed(button));
  EXPECT_EQ(TopLevelCount(), 1u);
  EXPECT_EQ(gui->controls.CountName(nullptr), 0u);
  // A top-level control's parent is the root: nothing is removed and the name stays.
  CONTROL* top = gui->CreateStatic("sk", "top", "", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  EXPECT_FALSE(gui->RemoveNamedParent(top));
  EXPECT_EQ(Named("top"), top);
  EXPECT_TRUE(gui->Contains(top));
}

}  // namespace
