// Menus: the button area opens its list and reports entering, leaving and pressing; the list
// closes on a press held outside, and a sub-menu keeps its enclosing list open.
#include "widget_fixture.h"

namespace {

class Menu : public WidgetTest {
 protected:
  C_GUI_CONTROL* outer = nullptr;
  KV_GUI::__menu* list = nullptr;

  // A menu of its outer, "menu" and "menulist" parts; the list starts closed.
  KV_GUI::__menu* MakeMenu(CONTROL* parent, float x, float y, const char* tag,
                           C_GUI_CONTROL** made) {
    C_GUI_CONTROL* top = Outer(parent, x, y, 60, 20, tag);
    top->CutArea = 0;
    KV_GUI::__menu* menu = Put(new KV_GUI::__menu(), top, 0, 0, 60, 20, "menu");
    menu->CutArea = 0;
    KV_GUI::__menu* menuList = Put(new KV_GUI::__menu(), menu, 0, 20, 60, 40, "menulist");
    menuList->CutArea = 0;
    menuList->Active = 0;
    menuList->Visible = 0;
    if (made != nullptr) *made = top;
    return menuList;
  }

  void SetUp() override {
    WidgetTest::SetUp();
    list = MakeMenu(nullptr, 10, 10, "menubutton", &outer);
  }
};

TEST_F(Menu, PressOpensTheListAndAPressHeldOutsideClosesIt) {
  Move(20, 15);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"menubutton", KV_GUI::MENU_ENTERED}}));
  Press(20, 15);
  EXPECT_EQ(list->Active, 1);
  EXPECT_EQ(list->Visible, 1);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"menubutton", KV_GUI::MENU_PRESSED}}));
  Release(20, 15);
  Move(20, 45);  // into the list: it stays open
  EXPECT_EQ(list->Visible, 1);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"menubutton", KV_GUI::MENU_LEFT}}));
  Press(20, 45);  // a press inside the list does not close it
  EXPECT_EQ(list->Visible, 1);
  Release(20, 45);
  Press(300, 300);
  EXPECT_EQ(list->Active, 0);
  EXPECT_EQ(list->Visible, 0);
}

TEST_F(Menu, PointerInASubMenuKeepsTheEnclosingListOpen) {
  C_GUI_CONTROL* item = nullptr;
  KV_GUI::__menu* subList = MakeMenu(list, 0, 0, "menuitem", &item);
  subList->Position = KV_VECTOR(60, -20, 0, 1);  // beside the entry, outside the outer list
  list->Active = list->Visible = 1;
  subList->Active = subList->Visible = 1;
  Move(100, 40);
  Press(100, 40);  // held inside the sub-menu's list, outside the main list and its button
  EXPECT_EQ(list->Active, 1);
  EXPECT_EQ(list->Visible, 1);
  EXPECT_EQ(subList->Visible, 1);
  Release(100, 40);
  Press(300, 300);  // outside everything: both close
  EXPECT_EQ(list->Visible, 0);
}

}  // namespace
