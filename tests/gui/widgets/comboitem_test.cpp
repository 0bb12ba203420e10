// A combo box item: its look follows the pointer, and a click picks it: the list closes, the
// combo box takes its text and hears about it.
#include "combo_fixture.h"

namespace {

TEST_F(Combo, AnItemFollowsThePointerAndAClickPicksIt) {
  Click(20, 15);  // opens the list
  Move(20, 55);   // over the second item
  EXPECT_TRUE(items[1]->StyleActive == StyleNamed("over"));
  Move(20, 35);  // over the first one
  EXPECT_TRUE(items[1]->StyleActive == StyleNamed("normal"));
  Move(20, 55);
  TakeHeard();
  Click(20, 55);
  EXPECT_EQ(list->Active, 0);
  EXPECT_EQ(list->Visible, 0);
  EXPECT_EQ(std::string(outer->Text.c_str()), "second");
  EXPECT_EQ(content->SelectedItem, items[1]);
  EXPECT_TRUE(items[1]->StyleActive == StyleNamed("normal"));
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"combo", KV_GUI::COMBO_PICKED}}));
}

}  // namespace
