// The items of list, check, option and combo boxes: added and stacked in order, read back,
// removed by index and cleared; the combo box's selection; wrong kinds and null controls
// failing.
#include "composite_fixture.h"

namespace {

const KV_VECTOR POS(10, 10, 0, 1);
const KV_HANDLE NO_ICON = {};

class CompositeItems : public CompositeTest {
 protected:
  std::vector<std::string> Texts(const KV_LIST<CONTROL*>& items) {
    std::vector<std::string> texts;
    for (auto it = items.Begin(); !it.IsEnd(); it.Next()) texts.push_back((*it)->Text.c_str());
    return texts;
  }
  std::vector<float> Ys(const KV_LIST<CONTROL*>& items) {
    std::vector<float> ys;
    for (auto it = items.Begin(); !it.IsEnd(); it.Next()) ys.push_back((*it)->Position.y);
    return ys;
  }
};

TEST_F(CompositeItems, ListItemsStackInOrderAndLeaveByIndex) {
  CONTROL* list =
      gui->CreateListBox("sk", "lb", POS, KV_VECTOR(100, 100, 0, 1), 10, 0, 0, 0, 0, nullptr);
  CONTROL* a = gui->ListBoxAddItem("sk", "a", 20, list);
  gui->ListBoxAddItem("sk", "b", 30, list);
  gui->ListBoxAddItem("sk", "c", 20, list);
  auto* item = dynamic_cast<KV_GUI::__list*>(a);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Behaviour, KV_GUI::FIT_TO_EDGE_LEFT | KV_GUI::FIT_TO_EDGE_RIGHT);
  EXPECT_EQ(Styles(item), "CellActive/CellUnactive");
  EXPECT_EQ(StyleName(item->StyleSelected), "CellSelected");
  EXPECT_EQ(StyleName(item->StyleOver), "CellOver");
  EXPECT_EQ(gui->ListBoxGetCount(list), 3);
  KV_LIST<CONTROL*> items;
  items.PushBack(a);  // the out list is emptied first
  ASSERT_TRUE(gui->ListBoxGetItems(list, items));
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(Ys(items), (std::vector<float>{0, 20, 50}));
  EXPECT_FLOAT_EQ(gui->ScrollGetContentSize(list).y, 70);

  EXPECT_FALSE(gui->ListBoxRemoveItem(list, 3));
  EXPECT_FALSE(gui->ListBoxRemoveItem(list, -1));
  EXPECT_EQ(gui->ListBoxGetCount(list), 3);
  EXPECT_TRUE(gui->ListBoxRemoveItem(list, 1));
  gui->ListBoxGetItems(list, items);
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(Ys(items), (std::vector<float>{0, 20}));
  EXPECT_FLOAT_EQ(gui->ScrollGetContentSize(list).y, 70);  // not recomputed by a removal

  // Selection is read back per item.
  dynamic_cast<KV_GUI::__list*>(a)->Selected = 1;
  gui->ListBoxGetSelected(list, items);
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"a"}));
  gui->ListBoxGetUnselected(list, items);
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"c"}));

  EXPECT_TRUE(gui->ListBoxClear(list));
  EXPECT_EQ(gui->ListBoxGetCount(list), 0);
  EXPECT_EQ(Named("lb"), list);
}

TEST_F(CompositeItems, CheckAndOptionRowsHoldTheirMarksCentred) {
  CONTROL* box =
      gui->CreateCheckBox("sk", "cb", POS, KV_VECTOR(100, 50, 0, 1), 0, 0, 0, 0, nullptr);
  CONTROL* row = gui->CheckBoxAddItem("sk", "one", 20, KV_VECTOR(10, 12, 0, 1), box);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->Text, "one");
  EXPECT_EQ(Styles(row), "CellActive/CellUnactive");
  auto* check = dynamic_cast<KV_GUI::__check*>(Kids(row)[0]);
  ASSERT_NE(check, nullptr);
  EXPECT_FLOAT_EQ(check->Position.x, 5);
  EXPECT_FLOAT_EQ(check->Position.y, 4);
  EXPECT_EQ(Styles(check), "CellActiveOff/CellUnactiveOff");
  EXPECT_EQ(StyleName(check->StyleActiveOn), "CellActiveOn");
  EXPECT_EQ(StyleName(check->StyleUnactiveOff), "CellUnactiveOff");
  // A mark wider than the row is high starts at the row's left; earlier rows are re-placed
  // in the new row height's square.
  CONTROL* wide = gui->CheckBoxAddItem("sk", "two", 10, KV_VECTOR(30, 6, 0, 1), box);
  EXPECT_FLOAT_EQ(Kids(wide)[0]->Position.x, 0);
  EXPECT_FLOAT_EQ(wide->Position.y, 20);
  EXPECT_FLOAT_EQ(check->Position.x, 0);
  EXPECT_FLOAT_EQ(check->Position.y, -1);

  check->Checked = 1;
  KV_LIST<CONTROL*> rows;
  ASSERT_TRUE(gui->CheckBoxGetChecked(box, rows));
  EXPECT_EQ(Texts(rows), (std::vector<std::string>{"one"}));
  ASSERT_TRUE(gui->CheckBoxGetUnchecked(box, rows));
  EXPECT_EQ(Texts(rows), (std::vector<std::string>{"two"}));
  EXPECT_TRUE(gui->CheckBoxRemoveItem(box, 0));
  EXPECT_FLOAT_EQ(wide->Position.y, 0);
  EXPECT_TRUE(gui->CheckBoxClear(box));
  EXPECT_EQ(gui->CheckBoxGetCount(box), 0);

  CONTROL* options =
      gui->CreateOptionBox("sk", "ob", POS, KV_VECTOR(100, 50, 0, 1), 0, 0, 0, 0, nullptr);
  gui->OptionBoxAddItem("sk", "x", 20, KV_VECTOR(10, 10, 0, 1), options);
  CONTROL* y = gui->OptionBoxAddItem("sk", "y", 20, KV_VECTOR(10, 10, 0, 1), options);
  EXPECT_NE(dynamic_cast<KV_GUI::__option*>(Kids(y)[0]), nullptr);
  EXPECT_EQ(gui->OptionBoxGetSelected(options), nullptr);
  dynamic_cast<KV_GUI::__option*>(Kids(y)[0])->Checked = 1;
  EXPECT_EQ(gui->OptionBoxGetSelected(options), y);
  gui->OptionBoxGetUnselected(options, rows);
  EXPECT_EQ(Texts(rows), (std::vector<std::string>{"x"}));
  gui->OptionBoxGetItems(options, rows);
  EXPECT_EQ(Texts(rows), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(gui->OptionBoxGetCount(options), 2);
  EXPECT_TRUE(gui->OptionBoxRemoveItem(options, 1));
  EXPECT_EQ(gui->OptionBoxGetSelected(options), nullptr);
  EXPECT_TRUE(gui->OptionBoxClear(options));
}

TEST_F(CompositeItems, ComboItemsAndTheSelectionNeverDangle) {
  CONTROL* combo = gui->CreateComboBox("sk", "c", POS, KV_VECTOR(100, 20, 0, 1),
                                       KV_VECTOR(100, 80, 0, 1), 10, "", 0, 0, 0, 0, 0, nullptr);
  CONTROL* first = gui->ComboBoxAddItem("sk", "one", 20, combo);
  gui->ComboBoxAddItem("sk", "two", 20, combo);
  EXPECT_EQ(Styles(first), "CellActive/CellIUnactive");
  EXPECT_EQ(gui->ComboBoxGetCount(combo), 2);
  KV_LIST<CONTROL*> items;
  ASSERT_TRUE(gui->ComboBoxGetItems(combo, items));
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(Ys(items), (std::vector<float>{0, 20}));
  EXPECT_EQ(gui->ComboBoxGetSelected(combo), nullptr);

  // Open the list and pick "two": the box shows it and reports it as selected.
  Step();
  Click(20, 15);
  Step();
  Click(20, 30 + 25);
  ASSERT_EQ(gui->ComboBoxGetSelected(combo), Kids(Kids(Kids(Kids(combo)[0])[0])[0])[1]);
  EXPECT_EQ(combo->Text, "two");
  // Removing the selected item drops the selection rather than leaving a freed pointer.
  EXPECT_TRUE(gui->ComboBoxRemoveItem(combo, 1));
  EXPECT_EQ(gui->ComboBoxGetSelected(combo), nullptr);
  EXPECT_FALSE(gui->ComboBoxRemoveItem(combo, 1));
  EXPECT_TRUE(gui->ComboBoxClear(combo));
  EXPECT_EQ(gui->ComboBoxGetCount(combo), 0);
}

TEST_F(CompositeItems, NullAndWrongKindsFail) {
  CONTROL* label = gui->CreateStatic("sk", "l", "x", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  CONTROL* listLike = gui->CreateStatic("sk", "l2", "x", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  gui->CreateStatic("sk", nullptr, "child", POS, KV_VECTOR(50, 20, 0, 1), listLike);
  CONTROL* button =
      gui->CreateButton("sk", "b", "B", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, nullptr);
  KV_LIST<CONTROL*> out;
  out.PushBack(label);
  for (CONTROL* c : {(CONTROL*)nullptr, label, listLike, button}) {
    EXPECT_EQ(gui->ListBoxAddItem("sk", "a", 10, c), nullptr);
    EXPECT_EQ(gui->CheckBoxAddItem("sk", "a", 10, KV_VECTOR(5, 5, 0, 1), c), nullptr);
    EXPECT_EQ(gui->OptionBoxAddItem("sk", "a", 10, KV_VECTOR(5, 5, 0, 1), c), nullptr);
    EXPECT_EQ(gui->ComboBoxAddItem("sk", "a", 10, c), nullptr);
    EXPECT_EQ(gui->MenuAddItem(c, "sk", KV_VECTOR(5, 5, 0, 1), "a", NO_ICON), nullptr);
    EXPECT_FALSE(gui->ListBoxRemoveItem(c, 0));
    EXPECT_FALSE(gui->CheckBoxRemoveItem(c, 0));
    EXPECT_FALSE(gui->OptionBoxRemoveItem(c, 0));
    EXPECT_FALSE(gui->ComboBoxRemoveItem(c, 0));
    EXPECT_FALSE(gui->ListBoxClear(c));
    EXPECT_FALSE(gui->CheckBoxClear(c));
    EXPECT_FALSE(gui->OptionBoxClear(c));
    EXPECT_FALSE(gui->ComboBoxClear(c));
    EXPECT_EQ(gui->ListBoxGetCount(c), 0);
    EXPECT_EQ(gui->ComboBoxGetCount(c), 0);
    EXPECT_FALSE(gui->ListBoxGetItems(c, out));
    EXPECT_FALSE(gui->CheckBoxGetChecked(c, out));
    EXPECT_FALSE(gui->OptionBoxGetUnselected(c, out));
    EXPECT_FALSE(gui->ComboBoxGetItems(c, out));
    EXPECT_EQ(gui->OptionBoxGetSelected(c), nullptr);
    EXPECT_EQ(gui->ComboBoxGetSelected(c), nullptr);
  }
  // Nothing was touched: the out list and the children are as they were.
  EXPECT_EQ(out.Count(), 1u);
  EXPECT_EQ(listLike->node->Count(), 1u);
}

}  // namespace
