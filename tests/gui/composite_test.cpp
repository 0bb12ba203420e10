// The helpers that every factory builds with: a composite whose top or a required part the
// tree refuses leaves the tree and the names as they were, and frees what it made.
#include "composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest Composite;

TEST_F(Composite, ARefusedTopLeavesTheTreeAndTheNamesAsTheyWere) {
  // A parent that is in no tree refuses every child.
  C_GUI_CONTROL outside;
  KV_HANDLE icon = {};
  KV_VECTOR size(100, 20, 0, 1);
  EXPECT_EQ(gui->CreateWindow("sk", "n", "", POS, size,
                              KV_GUI::WINDOW_TITLE_BAR | KV_GUI::WINDOW_CLOSE_BUTTON |
                                  KV_GUI::WINDOW_MINIMIZE_BUTTON | KV_GUI::WINDOW_MAXIMIZE_BUTTON,
                              icon, 0, 0, 0, 0, &outside),
            nullptr);
  EXPECT_EQ(gui->CreateButton("sk", "n", "", POS, size, icon, &outside), nullptr);
  EXPECT_EQ(gui->CreateScrollPlane("sk", "n", POS, size, size, size, 0, 0, 0, 0, &outside),
            nullptr);
  EXPECT_EQ(gui->CreateComboList("sk", "n", POS, size, size, size, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateStatic("sk", "n", "", POS, size, &outside), nullptr);
  EXPECT_EQ(gui->CreateProgressBar("sk", "n", POS, size, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateListBox("sk", "n", POS, size, 5, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateCheckBox("sk", "n", POS, size, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateOptionBox("sk", "n", POS, size, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateGroup("sk", "n", POS, size, "", &outside), nullptr);
  EXPECT_EQ(gui->CreateSlider("sk", "n", POS, size, &outside), nullptr);
  EXPECT_EQ(gui->CreateMenu("sk", "n", POS, size, "", icon, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateEditBox("sk", "n", POS, size, "", 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateComboBox("sk", "n", POS, size, size, 5, "", 0, 0, 0, 0, 0, &outside),
            nullptr);
  EXPECT_EQ(TopLevelCount(), 0u);
  EXPECT_EQ(outside.node, nullptr);
  EXPECT_EQ(gui->controls.CountName(nullptr), 0u);
  // The refused controls were freed (the leak checker of the sanitizer build sees the rest);
  // a control of another manager's tree is refused the same way.
  KV_GUI other;
  CONTROL* foreign = other.CreateStatic("sk", nullptr, "", POS, size, nullptr);
  ASSERT_NE(foreign, nullptr);
  EXPECT_EQ(gui->CreateButton("sk", "n", "", POS, size, icon, foreign), nullptr);
  EXPECT_EQ(foreign->node->Count(), 0u);
}

}  // namespace
