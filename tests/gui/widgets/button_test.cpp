// The button's inner part: the outer's look follows the pointer; clicks, entering and leaving
// are told to the outer.
#include "widget_fixture.h"

namespace {

TEST_F(WidgetTest, ButtonSwapsTheOutersLookAndNotifiesIt) {
  C_GUI_CONTROL* outer = Outer(nullptr, 10, 10, 50, 20, "button");
  KV_GUI::__button* inner = Put(new KV_GUI::__button(), outer, 0, 0, 50, 20);
  inner->StyleOver = StyleNamed("over");
  inner->StyleNormal = StyleNamed("normal");
  outer->StyleActive = StyleNamed("normal");
  Move(100, 100);
  Move(20, 20);  // enters
  EXPECT_TRUE(outer->StyleActive == StyleNamed("over"));
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"button", KV_GUI::BUTTON_ENTERED}}));
  Press(20, 20);
  Release(20, 20);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"button", KV_GUI::BUTTON_CLICKED}}));
  Move(100, 100);  // leaves
  EXPECT_TRUE(outer->StyleActive == StyleNamed("normal"));
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"button", KV_GUI::BUTTON_LEFT}}));
  Press(100, 100);  // outside: no click
  Move(20, 20);     // held, moved inside: enters but is not a click
  Release(20, 20);  // released inside: still no click
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"button", KV_GUI::BUTTON_ENTERED}}));
}

}  // namespace
