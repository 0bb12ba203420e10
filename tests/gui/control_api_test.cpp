// The per-control API: items added, read back in order, removed by index and cleared; values
// set, clamped and read back; wrong kinds and null controls failing; removal by name.
#include "composite_fixture.h"

namespace {

const KV_VECTOR POS(10, 10, 0, 1);
const KV_HANDLE NO_ICON = {};

class ControlApi : public CompositeTest {
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

TEST_F(ControlApi, ListItemsStackInOrderAndLeaveByIndex) {
  CONTROL* list =
      gui->CreateListBox("sk", "lb", POS, KV_VECTOR(100, 100, 0, 1), 10, 0, 0, 0, 0, nullptr);
  CONTROL* a = gui->ListBoxAddItem("sk", "a", 20, list);
  gui->ListBoxAddItem("sk", "b", 30, list);
  gui->ListBoxAddItem("sk", "c", 20, list);
  auto* item = dynamic_cast<KV_GUI::__list*>(a);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Behaviour, 0xCu);
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

TEST_F(ControlApi, CheckAndOptionRowsHoldTheirMarksCentred) {
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

TEST_F(ControlApi, ComboItemsAndTheSelectionNeverDangle) {
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

TEST_F(ControlApi, MenusOpenAndCloseAtEveryDepth) {
  CONTROL* menu =
      gui->CreateMenu("sk", "m", POS, KV_VECTOR(60, 20, 0, 1), "File", NO_ICON, 0, nullptr);
  CONTROL* open = gui->MenuAddItem(menu, "sk", KV_VECTOR(80, 20, 0, 1), "Open", NO_ICON);
  ASSERT_NE(dynamic_cast<KV_GUI::__button*>(Kids(open)[0]), nullptr);
  CONTROL* sub = gui->CreateSubMenu(menu, "sk", KV_VECTOR(80, 20, 0, 1), "More", NO_ICON, 0);
  CONTROL* deeper = gui->CreateSubMenu(sub, "sk", KV_VECTOR(80, 20, 0, 1), "Even more", NO_ICON, 0);
  CONTROL* last = gui->MenuAddItem(menu, "sk", KV_VECTOR(70, 30, 0, 1), "Quit", NO_ICON);
  EXPECT_FLOAT_EQ(last->Position.y, 40);
  EXPECT_FLOAT_EQ(open->Size.x, 70);
  CONTROL* lists[3];
  CONTROL* menus[3] = {menu, sub, deeper};
  for (int i = 0; i < 3; ++i) {
    lists[i] = Part(Part(menus[i], "menu"), "menulist");
    EXPECT_TRUE(gui->MenuExpand(menus[i]));
    EXPECT_EQ(lists[i]->Visible, 1);
    EXPECT_EQ(lists[i]->Active, 1);
  }
  EXPECT_TRUE(gui->MenuCollapse(menu));
  for (CONTROL* list : lists) {
    EXPECT_EQ(list->Visible, 0);
    EXPECT_EQ(list->Active, 0);
  }
}

TEST_F(ControlApi, ScrollAndProgressValuesReadBack) {
  CONTROL* content =
      gui->CreateScrollPlane("sk", "sp", POS, KV_VECTOR(200, 100, 0, 1), KV_VECTOR(10, 10, 0, 1),
                             KV_VECTOR(0, 0, 0, 1), 0, 0, 0, 0, nullptr);
  CONTROL* area = content->GetParent();
  Part(area, "hscrollb")->Size.x = 190;
  content->ChildOffset = KV_VECTOR(-30, -40, 0, 1);
  EXPECT_TRUE(gui->ScrollSetContentSize(content, 400, 50));
  KV_VECTOR extent = gui->ScrollGetContentSize(content);
  EXPECT_FLOAT_EQ(extent.x, 400);
  EXPECT_FLOAT_EQ(extent.y, 50);
  EXPECT_FLOAT_EQ(content->ChildOffset.x, 0);
  EXPECT_FLOAT_EQ(content->ChildOffset.y, 0);
  // The horizontal thumb shows half of the track: the view is half the content.
  EXPECT_FLOAT_EQ(Part(Part(area, "hscrollb"), "hscrollf")->Size.x, 95);

  CONTROL* progress =
      gui->CreateProgressBar("sk", "pb", POS, KV_VECTOR(110, 20, 0, 1), 1, 1, 4, 6, nullptr);
  EXPECT_TRUE(gui->ProgressBarSetPhase(progress, 0.5f));
  EXPECT_FLOAT_EQ(Kids(progress)[0]->Size.x, 50);
  EXPECT_FLOAT_EQ(gui->ProgressBarGetPhase(progress), 0.5f);
  progress->Size.x = 10;  // no inner width left
  EXPECT_FLOAT_EQ(gui->ProgressBarGetPhase(progress), 0);
}

TEST_F(ControlApi, SliderFactorsAreClampedAndReadBack) {
  CONTROL* h = gui->CreateSlider("sk", "h", POS, KV_VECTOR(100, 20, 0, 1), nullptr);
  CONTROL* thumb = Kids(Kids(h)[0])[0];
  EXPECT_TRUE(gui->SliderSetFactor(h, 0.5f));
  EXPECT_FLOAT_EQ(thumb->Position.x, 40);
  EXPECT_FLOAT_EQ(gui->SliderGetFactor(h), 0.5f);
  gui->SliderSetFactor(h, 1.5f);
  EXPECT_FLOAT_EQ(thumb->Position.x, 80);
  gui->SliderSetFactor(h, -1);
  EXPECT_FLOAT_EQ(gui->SliderGetFactor(h), 0);

  CONTROL* v = gui->CreateSlider("sk", "v", POS, KV_VECTOR(20, 120, 0, 1), nullptr);
  gui->SliderSetFactor(v, 1);
  EXPECT_FLOAT_EQ(Kids(Kids(v)[0])[0]->Position.y, 100);
  EXPECT_FLOAT_EQ(gui->SliderGetFactor(v), 1);
  // A thumb as long as the slider has nowhere to go: the factor reads 0.
  CONTROL* square = gui->CreateSlider("sk", "q", POS, KV_VECTOR(20, 20, 0, 1), nullptr);
  EXPECT_FLOAT_EQ(gui->SliderGetFactor(square), 0);
}

TEST_F(ControlApi, EditBoxTextAndModes) {
  CONTROL* edit = gui->CreateEditBox("sk", "e", POS, KV_VECTOR(100, 20, 0, 1), "abc", 0, nullptr);
  auto* field = dynamic_cast<KV_GUI::__edit*>(Kids(edit)[0]);
  field->TextRight = "de";  // as after moving the caret left
  KV_STRING text;
  ASSERT_TRUE(gui->EditBoxGetText(edit, text));
  EXPECT_EQ(text, "abcde");
  EXPECT_TRUE(gui->EditBoxPasswordMode(edit, 1));
  EXPECT_EQ(field->Text, "*****");
  EXPECT_TRUE(gui->EditBoxSetText(edit, "xy"));
  EXPECT_EQ(field->Text, "**");
  EXPECT_EQ(field->TextRight, "");
  EXPECT_TRUE(gui->EditBoxPasswordMode(edit, 0));
  EXPECT_EQ(field->Text, "xy");
  EXPECT_TRUE(gui->EditBoxEditMode(edit, 1));
  EXPECT_EQ(field->Editing, 1);
}

TEST_F(ControlApi, ButtonsSwapTheirLooks) {
  CONTROL* button =
      gui->CreateButton("sk", "b", "B", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, nullptr);
  EXPECT_TRUE(gui->ButtonSetOverStyle(button));
  EXPECT_EQ(StyleName(button->StyleActive), "AreaOver");
  EXPECT_TRUE(gui->ButtonSetNormalStyle(button));
  EXPECT_EQ(StyleName(button->StyleActive), "AreaActive");
  EXPECT_EQ(gui->GetParentControl(Kids(button)[0]), button);
  EXPECT_EQ(gui->GetParentControl(button), gui->GetRoot());
}

TEST_F(ControlApi, NullAndWrongKindsFail) {
  CONTROL* label = gui->CreateStatic("sk", "l", "x", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  CONTROL* listLike = gui->CreateStatic("sk", "l2", "x", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  gui->CreateStatic("sk", nullptr, "child", POS, KV_VECTOR(50, 20, 0, 1), listLike);
  CONTROL* button =
      gui->CreateButton("sk", "b", "B", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, nullptr);
  KV_LIST<CONTROL*> out;
  out.PushBack(label);
  KV_STRING text("keep");
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
    EXPECT_FALSE(gui->ScrollSetContentSize(c, 1, 1));
    EXPECT_FLOAT_EQ(gui->ScrollGetContentSize(c).y, 0);
    EXPECT_FALSE(gui->SliderSetFactor(c, 0.5f));
    EXPECT_FLOAT_EQ(gui->SliderGetFactor(c), 0);
    EXPECT_FALSE(gui->MenuExpand(c));
    EXPECT_FALSE(gui->MenuCollapse(c));
    EXPECT_FALSE(gui->EditBoxPasswordMode(c, 1));
    EXPECT_FALSE(gui->EditBoxEditMode(c, 1));
    EXPECT_FALSE(gui->EditBoxSetText(c, "x"));
    EXPECT_FALSE(gui->EditBoxGetText(c, text));
    EXPECT_EQ(gui->CreateSubMenu(c, "sk", KV_VECTOR(5, 5, 0, 1), "", NO_ICON, 0), nullptr);
  }
  for (CONTROL* c : {(CONTROL*)nullptr, label, listLike}) {
    EXPECT_FALSE(gui->ButtonSetOverStyle(c));
    EXPECT_FALSE(gui->ProgressBarSetPhase(c, 1));
    EXPECT_FLOAT_EQ(gui->ProgressBarGetPhase(c), 0);
  }
  EXPECT_EQ(gui->GetParentControl(nullptr), nullptr);
  EXPECT_FALSE(gui->RemoveNamed(nullptr));
  EXPECT_FALSE(gui->RemoveNamedParent(nullptr));
  // Nothing was touched: the out values and the children are as they were.
  EXPECT_EQ(out.Count(), 1u);
  EXPECT_EQ(text, "keep");
  EXPECT_EQ(listLike->node->Count(), 1u);
  EXPECT_EQ(label->Text, "x");
}

TEST_F(ControlApi, NamedCompositesLeaveWholeAndAtOnce) {
  CONTROL* client = gui->CreateWindow("sk", "w", "", POS, KV_VECTOR(200, 200, 0, 1), 3, NO_ICON, 0,
                                      0, 0, 0, nullptr);
  CONTROL* inner =
      gui->CreateButton("sk", "inner", "", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, client);
  CONTROL* list =
      gui->CreateListBox("sk", "lb", POS, KV_VECTOR(50, 50, 0, 1), 5, 0, 0, 0, 0, nullptr);
  CONTROL* button =
      gui->CreateButton("sk", "b", "", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, nullptr);
  CONTROL* unnamed = gui->CreateStatic("sk", nullptr, "", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  EXPECT_EQ(TopLevelCount(), 4u);

  // A control filed under no name stays.
  EXPECT_FALSE(gui->RemoveNamed(unnamed));
  EXPECT_TRUE(gui->Contains(unnamed));
  // The whole window leaves at once, and the name of the button inside goes with it.
  EXPECT_TRUE(gui->RemoveNamedParent(client));
  EXPECT_EQ(TopLevelCount(), 3u);
  EXPECT_EQ(Named("w"), nullptr);
  EXPECT_EQ(Named("inner"), nullptr);
  (void)inner;
  EXPECT_TRUE(gui->RemoveNamedParent(list));
  EXPECT_TRUE(gui->RemoveNamed(button));
  EXPECT_EQ(TopLevelCount(), 1u);
  EXPECT_EQ(gui->controls.CountName(nullptr), 0u);
  // A top-level control's parent is the root: nothing is removed and the name stays.
  CONTROL* top = gui->CreateStatic("sk", "top", "", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  EXPECT_FALSE(gui->RemoveNamedParent(top));
  EXPECT_EQ(Named("top"), top);
  EXPECT_TRUE(gui->Contains(top));
}

}  // namespace
