// A check mark: a click toggles it, swaps its styles and notifies its row.
#include "widget_fixture.h"

namespace {

TEST_F(WidgetTest, CheckTogglesSwapsItsStylesAndNotifiesTheRow) {
  C_GUI_CONTROL* row = Outer(nullptr, 0, 0, 100, 20, "row");
  KV_GUI::__check* check = Put(new KV_GUI::__check(), row, 2, 2, 16, 16);
  check->StyleActiveOn = StyleNamed("aon");
  check->StyleActiveOff = StyleNamed("aoff");
  check->StyleUnactiveOn = StyleNamed("uon");
  check->StyleUnactiveOff = StyleNamed("uoff");
  Click(50, 10);  // the row, not the mark
  EXPECT_EQ(check->Checked, 0);
  Click(10, 10);
  EXPECT_EQ(check->Checked, 1);
  EXPECT_TRUE(check->StyleActive == StyleNamed("aon"));
  EXPECT_TRUE(check->StyleUnactive == StyleNamed("uon"));
  Click(10, 10);
  EXPECT_EQ(check->Checked, 0);
  EXPECT_TRUE(check->StyleActive == StyleNamed("aoff"));
  EXPECT_TRUE(check->StyleUnactive == StyleNamed("uoff"));
  EXPECT_EQ(TakeHeard(),
            (std::vector<Heard>{{"row", KV_GUI::CHECK_CLICKED}, {"row", KV_GUI::CHECK_CLICKED}}));
}

}  // namespace
