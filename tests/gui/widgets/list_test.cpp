// List box items: plain clicks select one item alone, Ctrl-clicks add and remove; the look
// follows selection and the pointer.
#include "widget_fixture.h"

namespace {

class List : public WidgetTest {
 protected:
  KV_GUI::__list* items[3] = {};

  void SetUp() override {
    WidgetTest::SetUp();
    C_GUI_CONTROL* box = Outer(nullptr, 0, 0, 100, 60, "listbox");
    for (int i = 0; i < 3; ++i) {
      items[i] = Put(new KV_GUI::__list(), box, 0, 20.0f * i, 100, 20);
      items[i]->StyleSelected = StyleNamed("selected");
      items[i]->StyleOver = StyleNamed("over");
      items[i]->StyleNormal = StyleNamed("normal");
    }
  }
  std::string Selection() {
    std::string s;
    for (KV_GUI::__list* item : items) s += item->Selected ? '1' : '0';
    return s;
  }
};

TEST_F(List, PlainClicksSelectOneItemAlone) {
  Click(10, 10);
  EXPECT_EQ(Selection(), "100");
  EXPECT_TRUE(items[0]->StyleActive == StyleNamed("selected"));
  Click(10, 30);
  EXPECT_EQ(Selection(), "010");
  EXPECT_TRUE(items[0]->StyleActive == StyleNamed("normal"));
  Click(10, 30);  // the only selected one, clicked again
  EXPECT_EQ(Selection(), "000");
  EXPECT_TRUE(items[1]->StyleActive == StyleNamed("over"));
}

TEST_F(List, CtrlClicksAddAndRemove) {
  Click(10, 10);
  KvSetKeyDown(VK_CONTROL, 1);
  Click(10, 50);
  EXPECT_EQ(Selection(), "101");
  Click(10, 10);
  EXPECT_EQ(Selection(), "001");
  KvSetKeyDown(VK_CONTROL, 0);
  Click(10, 30);
  EXPECT_EQ(Selection(), "010");
}

TEST_F(List, PointerChangesTheLookOfUnselectedItemsOnly) {
  Move(200, 200);
  Move(10, 10);
  EXPECT_TRUE(items[0]->StyleActive == StyleNamed("over"));
  Move(10, 30);
  EXPECT_TRUE(items[0]->StyleActive == StyleNamed("normal"));
  Click(10, 30);
  Move(10, 50);
  EXPECT_TRUE(items[1]->StyleActive == StyleNamed("selected"));
}

}  // namespace
