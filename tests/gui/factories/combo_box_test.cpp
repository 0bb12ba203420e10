// The combo box factory: the box part, the closed list docked by the given flag and the arrow.
#include "../composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest ComboBoxFactory;

TEST_F(ComboBoxFactory, ABoxWithItsClosedListAndArrow) {
  CONTROL* combo =
      gui->CreateComboBox("sk", "c", POS, KV_VECTOR(120, 20, 0, 1), KV_VECTOR(120, 80, 0, 1), 10,
                          "Pick", KV_GUI::INHERIT_HEIGHT, 1, 2, 3, 4, nullptr);
  EXPECT_EQ(Named("c"), combo);
  EXPECT_EQ(combo->Text, "Pick");
  EXPECT_EQ(Styles(combo), "ButtonActive/ButtonUnactive");
  EXPECT_EQ(Tags(combo), (std::vector<std::string>{"comboboxm", "comboboxic"}));
  CONTROL* area = Kids(Part(combo, "comboboxm"))[0];
  EXPECT_EQ(area->GetTag(), "scrollarea");
  EXPECT_EQ(area->Behaviour, KV_GUI::DOCK_TO_EDGE_BOTTOM);
  EXPECT_EQ(area->Visible, 0);
  EXPECT_FLOAT_EQ(area->Size.y, 80);
  EXPECT_FLOAT_EQ(area->MarginRight, 10);
  CONTROL* items = Kids(area)[0];
  EXPECT_EQ(items->GetTag(), "comboboxl");
  EXPECT_NE(dynamic_cast<KV_GUI::__combo*>(items), nullptr);
  EXPECT_FLOAT_EQ(items->MarginRight, 4);
  CONTROL* arrow = Part(combo, "comboboxic");
  EXPECT_FLOAT_EQ(arrow->Size.x, 20);
  EXPECT_FLOAT_EQ(arrow->Order, 1);
  EXPECT_EQ(arrow->Behaviour, KV_GUI::DOCK_TO_MIDDLE | KV_GUI::DOCK_TO_EDGE_RIGHT_INSIDE);
  combo =
      gui->CreateComboBox("sk", nullptr, POS, KV_VECTOR(120, 20, 0, 1), KV_VECTOR(120, 80, 0, 1),
                          10, "", KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE, 0, 0, 0, 0, nullptr);
  EXPECT_EQ(Kids(Part(combo, "comboboxm"))[0]->Behaviour, KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE);
}

}  // namespace
