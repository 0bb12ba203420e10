// The combo box's parts: the box opens its list and reports entering and pressing; a press
// outside both closes the list.
#include "combo_fixture.h"

namespace {

TEST_F(Combo, PressOnTheBoxOpensTheList) {
  Move(20, 15);
  Press(20, 15);
  EXPECT_EQ(list->Active, 1);
  EXPECT_EQ(list->Visible, 1);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"combo", KV_GUI::COMBO_ENTERED},
                                             {"combo", KV_GUI::COMBO_PRESSED}}));
  Release(20, 15);
  Move(20, 55);  // over the second item: the list stays open
  EXPECT_EQ(list->Visible, 1);
}

TEST_F(Combo, PressOutsideClosesTheOpenList) {
  Press(20, 15);
  Release(20, 15);
  Move(20, 80);
  Press(20, 80);  // inside the list, below the items: stays open
  Release(20, 80);
  EXPECT_EQ(list->Visible, 1);
  Press(300, 300);
  EXPECT_EQ(list->Visible, 0);
  EXPECT_EQ(content->SelectedItem, nullptr);
}

}  // namespace
