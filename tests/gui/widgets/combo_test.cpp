// Combo boxes: the box opens its list, a click on an item picks it, a press outside closes the
// list.
#include "widget_fixture.h"

namespace {

class Combo : public WidgetTest {
 protected:
  C_GUI_CONTROL* outer = nullptr;
  KV_GUI::__default* list = nullptr;
  KV_GUI::__combo* content = nullptr;
  KV_GUI::__comboitem* items[2] = {};

  void SetUp() override {
    WidgetTest::SetUp();
    outer = Outer(nullptr, 10, 10, 80, 20, "combo");
    outer->CutArea = 0;
    KV_GUI::__combo* box = Put(new KV_GUI::__combo(), outer, 0, 0, 80, 20, "comboboxm");
    box->CutArea = 0;
    list = Put(new KV_GUI::__default(), box, 0, 20, 80, 60, "scrollarea");
    list->Active = list->Visible = 0;
    content = Put(new KV_GUI::__combo(), list, 0, 0, 80, 60, "comboboxl");  // items fill 30..70
    const char* texts[2] = {"first", "second"};
    for (int i = 0; i < 2; ++i) {
      items[i] = Put(new KV_GUI::__comboitem(), content, 0, 20.0f * i, 80, 20);
      items[i]->Text = texts[i];
      items[i]->StyleOver = StyleNamed("over");
      items[i]->StyleNormal = StyleNamed("normal");
    }
  }
};

TEST_F(Combo, PressOnTheBoxOpensTheListAndAnItemClickPicksIt) {
  Move(20, 15);
  Press(20, 15);
  EXPECT_EQ(list->Active, 1);
  EXPECT_EQ(list->Visible, 1);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"combo", 0x1000}, {"combo", 0x4000}}));
  Release(20, 15);
  Move(20, 55);  // over the second item
  EXPECT_TRUE(items[1]->StyleActive == StyleNamed("over"));
  EXPECT_EQ(list->Visible, 1);
  TakeHeard();
  Click(20, 55);
  EXPECT_EQ(list->Active, 0);
  EXPECT_EQ(list->Visible, 0);
  EXPECT_EQ(std::string(outer->Text.c_str()), "second");
  EXPECT_EQ(content->SelectedItem, items[1]);
  EXPECT_TRUE(items[1]->StyleActive == StyleNamed("normal"));
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"combo", 0x800}}));
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
