// The control factories: each composite's tree shape, part names, skins and layout values,
// filing by name, a refused top leaving the tree as it was, and a built composite reacting
// to input through its widgets up to the application's event procedure.
#include "composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest Factories;

TEST_F(Factories, AWindowWithCloseAndMinimizeButtons) {
  KV_HANDLE icon = {};
  CONTROL* client = gui->CreateWindow("sk", "win", "Title", POS, KV_VECTOR(300, 200, 0, 1), 2 | 4,
                                      icon, 1, 2, 3, 4, nullptr);
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(Named("win"), client);
  CONTROL* window = client->GetParent();
  EXPECT_EQ(window->GetTag(), "winarea");
  EXPECT_NE(dynamic_cast<KV_GUI::__window*>(window), nullptr);
  EXPECT_NE(dynamic_cast<C_GUI_CONTROL*>(client), nullptr);
  EXPECT_EQ(Tags(window), (std::vector<std::string>{"", "btnclose", "btnmini"}));
  EXPECT_EQ(Kids(window)[0], client);
  EXPECT_EQ(Styles(window), "AreaBarActive/AreaBarUnactive");
  EXPECT_FLOAT_EQ(window->MarginTop, 24);
  EXPECT_FLOAT_EQ(window->CutMarginTop, -24);
  EXPECT_EQ(client->Behaviour, 0xFu);
  EXPECT_FLOAT_EQ(client->MarginTop, 1);
  EXPECT_FLOAT_EQ(client->MarginBottom, 2);
  EXPECT_FLOAT_EQ(client->MarginLeft, 3);
  EXPECT_FLOAT_EQ(client->MarginRight, 4);

  CONTROL* close = Part(window, "btnclose");
  CONTROL* mini = Part(window, "btnmini");
  EXPECT_FLOAT_EQ(close->MarginRight, 0);
  EXPECT_FLOAT_EQ(mini->MarginRight, 32);
  EXPECT_FLOAT_EQ(mini->MarginLeft, -32);
  EXPECT_EQ(close->Behaviour, 0x840u);
  EXPECT_EQ(Styles(close), "ButtonActive/ButtonUnactive");
  CONTROL* glyph = Kids(mini)[0];
  EXPECT_EQ(Styles(glyph), "ButtonMin/ButtonMin");
  EXPECT_EQ(glyph->Hitable, 0);
  EXPECT_FLOAT_EQ(glyph->Position.x, 10);
  EXPECT_FLOAT_EQ(glyph->Size.x, 12);

  // Laid out, the buttons sit in the bar row at the window's right edge, right to left.
  gui->UpdateLayout();
  EXPECT_FLOAT_EQ(close->Points[0][0].x, 368);
  EXPECT_FLOAT_EQ(close->Points[0][0].y, 100);
  EXPECT_FLOAT_EQ(mini->Points[0][0].x, 336);
}

TEST_F(Factories, WindowButtonsTakeTheirPlacesByFlagAndTheBarCarriesTheTitle) {
  KV_HANDLE icon = {};
  icon.endFlag = 0;
  icon.value = 7;
  CONTROL* client = gui->CreateWindow("sk", nullptr, "Title", POS, KV_VECTOR(300, 200, 0, 1),
                                      1 | 4 | 8, icon, 0, 0, 0, 0, nullptr);
  CONTROL* window = client->GetParent();
  EXPECT_EQ(Tags(window), (std::vector<std::string>{"", "bar", "btnfull", "btnmini"}));
  EXPECT_FLOAT_EQ(Part(window, "btnfull")->MarginRight, 0);
  EXPECT_FLOAT_EQ(Part(window, "btnmini")->MarginRight, 32);
  CONTROL* bar = Part(window, "bar");
  EXPECT_EQ(bar->Text, "Title");
  EXPECT_EQ(bar->Icon.value, 7u);
  EXPECT_EQ(bar->Behaviour, 0x50u);
  EXPECT_FLOAT_EQ(bar->Size.x, 300);
  EXPECT_FLOAT_EQ(bar->Size.y, 24);
  EXPECT_EQ(Styles(bar), "BarActive/BarUnactive");
  EXPECT_EQ(gui->controls.CountName(nullptr), 0u);

  // Minimize alone sits at the edge; no flags: no bar, no margin, the plain area look.
  client = gui->CreateWindow("sk", nullptr, "", POS, KV_VECTOR(300, 200, 0, 1), 4, icon, 0, 0, 0, 0,
                             nullptr);
  EXPECT_FLOAT_EQ(Part(client->GetParent(), "btnmini")->MarginRight, 0);
  client = gui->CreateWindow("sk", nullptr, "", POS, KV_VECTOR(300, 200, 0, 1), 0, icon, 0, 0, 0, 0,
                             nullptr);
  window = client->GetParent();
  EXPECT_EQ(Kids(window).size(), 1u);
  EXPECT_FLOAT_EQ(window->MarginTop, 0);
  EXPECT_EQ(Styles(window), "AreaActive/AreaUnactive");
}

TEST_F(Factories, ButtonStaticGroupAndProgressBar) {
  KV_HANDLE icon = {};
  icon.endFlag = 0;
  icon.value = 3;
  CONTROL* button =
      gui->CreateButton("sk", "ok", "OK", POS, KV_VECTOR(80, 20, 0, 1), icon, nullptr);
  EXPECT_EQ(Named("ok"), button);
  EXPECT_EQ(button->Text, "OK");
  EXPECT_EQ(button->Icon.value, 3u);
  EXPECT_EQ(Styles(button), "AreaActive/AreaUnactive");
  auto* inner = dynamic_cast<KV_GUI::__button*>(Kids(button)[0]);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Behaviour, 0x30u);
  EXPECT_EQ(StyleName(inner->StyleOver), "AreaOver");
  EXPECT_EQ(StyleName(inner->StyleNormal), "AreaActive");
  EXPECT_EQ(Styles(inner), "-/-");

  CONTROL* label = gui->CreateStatic("sk", "lbl", "Hi", POS, KV_VECTOR(80, 20, 0, 1), nullptr);
  EXPECT_EQ(label->Text, "Hi");
  EXPECT_EQ(label->node->Count(), 0u);
  CONTROL* group = gui->CreateGroup("sk", "grp", POS, KV_VECTOR(80, 20, 0, 1), "Group", nullptr);
  EXPECT_NE(dynamic_cast<KV_GUI::__default*>(group), nullptr);
  EXPECT_EQ(group->Text, "Group");
  EXPECT_EQ(Styles(group), "Area/Area");

  CONTROL* progress =
      gui->CreateProgressBar("sk", "pb", POS, KV_VECTOR(100, 20, 0, 1), 1, 2, 3, 4, nullptr);
  EXPECT_FLOAT_EQ(progress->CutMarginTop, 1);
  EXPECT_FLOAT_EQ(progress->CutMarginRight, 4);
  CONTROL* bar = Kids(progress)[0];
  EXPECT_FLOAT_EQ(bar->Position.x, 3);
  EXPECT_FLOAT_EQ(bar->MarginTop, 1);
  EXPECT_FLOAT_EQ(bar->MarginBottom, 2);
  EXPECT_FLOAT_EQ(bar->Size.x, 0);
  EXPECT_EQ(bar->Behaviour, 0x20u);
  EXPECT_EQ(bar->Hitable, 0);
  EXPECT_EQ(Styles(bar), "BarActive/BarUnactive");
}

TEST_F(Factories, ScrollPlaneAndListBox) {
  CONTROL* content =
      gui->CreateScrollPlane("sk", "sp", POS, KV_VECTOR(200, 100, 0, 1), KV_VECTOR(12, 10, 0, 1),
                             KV_VECTOR(400, 300, 0, 1), 1, 2, 3, 4, nullptr);
  EXPECT_EQ(Named("sp"), content);
  CONTROL* area = content->GetParent();
  EXPECT_EQ(area->GetTag(), "scrollarea");
  EXPECT_EQ(Tags(area), (std::vector<std::string>{"", "hscrollb", "vscrollb"}));
  EXPECT_EQ(Kids(area)[0], content);
  EXPECT_FLOAT_EQ(area->MarginRight, 12);
  EXPECT_FLOAT_EQ(area->CutMarginBottom, -10);
  EXPECT_EQ(content->Behaviour, 0xFu);
  EXPECT_FLOAT_EQ(content->MarginLeft, 3);
  CONTROL* htrack = Part(area, "hscrollb");
  EXPECT_FLOAT_EQ(htrack->Size.y, 10);
  EXPECT_EQ(htrack->Behaviour, 0x8Cu);
  auto* hthumb = dynamic_cast<KV_GUI::__scroll*>(Part(htrack, "hscrollf"));
  ASSERT_NE(hthumb, nullptr);
  EXPECT_FLOAT_EQ(hthumb->ContentExtent, 400);
  EXPECT_EQ(Styles(hthumb), "BarFrontActiveH/BarFrontUnactiveH");
  CONTROL* vtrack = Part(area, "vscrollb");
  EXPECT_EQ(vtrack->Behaviour, 0x203u);
  auto* vthumb = dynamic_cast<KV_GUI::__scroll*>(Part(vtrack, "vscrollf"));
  ASSERT_NE(vthumb, nullptr);
  EXPECT_FLOAT_EQ(vthumb->ContentExtent, 300);
  EXPECT_EQ(vthumb->Behaviour, 0x10u);

  CONTROL* list =
      gui->CreateListBox("sk", "lb", POS, KV_VECTOR(200, 100, 0, 1), 14, 0, 0, 0, 0, nullptr);
  EXPECT_EQ(Named("lb"), list);
  EXPECT_EQ(list->GetTag(), "listbox");
  EXPECT_FLOAT_EQ(list->GetParent()->MarginRight, 14);
  EXPECT_FLOAT_EQ(Part(list->GetParent(), "hscrollb")->Size.y, 0);
  EXPECT_EQ(gui->controls.CountName(nullptr), 2u);  // the inner plane is filed under no name
}

TEST_F(Factories, CheckAndOptionBoxesGrowByTheirBorder) {
  CONTROL* check =
      gui->CreateCheckBox("sk", "cb", POS, KV_VECTOR(100, 50, 0, 1), 2, 3, 4, 5, nullptr);
  EXPECT_EQ(check->GetTag(), "checkbox");
  EXPECT_FLOAT_EQ(check->Size.y, 55);
  EXPECT_FLOAT_EQ(check->ChildOffset.x, 4);
  EXPECT_FLOAT_EQ(check->ChildOffset.y, 2);
  EXPECT_FLOAT_EQ(check->CutMarginLeft, 4);
  EXPECT_EQ(Styles(check), "Area/Area");
  CONTROL* option =
      gui->CreateOptionBox("sk", "ob", POS, KV_VECTOR(100, 50, 0, 1), 0, 0, 0, 0, nullptr);
  EXPECT_EQ(option->GetTag(), "optionbox");
  EXPECT_EQ(Named("ob"), option);
}

TEST_F(Factories, SlidersTurnByTheirShape) {
  CONTROL* slider = gui->CreateSlider("sk", "s", POS, KV_VECTOR(100, 20, 0, 1), nullptr);
  EXPECT_EQ(slider->GetTag(), "slider");
  CONTROL* bar = Part(slider, "hbar");
  EXPECT_NE(dynamic_cast<KV_GUI::__slider*>(bar), nullptr);
  EXPECT_EQ(Styles(bar), "BarH/BarH");
  CONTROL* thumb = Kids(bar)[0];
  EXPECT_FLOAT_EQ(thumb->Size.x, 20);
  EXPECT_FLOAT_EQ(thumb->Size.y, 20);
  EXPECT_FLOAT_EQ(thumb->Position.x, 40);
  EXPECT_EQ(thumb->Behaviour, 0x2000u);
  EXPECT_EQ(thumb->Hitable, 0);

  slider = gui->CreateSlider("sk", "s", POS, KV_VECTOR(20, 20, 0, 1), nullptr);
  EXPECT_EQ(Named("s"), slider);  // the second composite of a name replaces the first
  bar = Part(slider, "vbar");
  EXPECT_EQ(Styles(bar), "Barv/BarV");
  EXPECT_EQ(Kids(bar)[0]->Behaviour, 0x1000u);
}

TEST_F(Factories, MenusAndSubMenus) {
  KV_HANDLE icon = {};
  CONTROL* menu =
      gui->CreateMenu("sk", "m", POS, KV_VECTOR(60, 20, 0, 1), "File", icon, 0x20, nullptr);
  EXPECT_EQ(menu->GetTag(), "menubutton");
  EXPECT_EQ(menu->Text, "File");
  EXPECT_EQ(menu->CutArea, 0);
  CONTROL* button = Part(menu, "menu");
  EXPECT_EQ(button->Behaviour, 0x30u);
  CONTROL* list = Part(button, "menulist");
  EXPECT_EQ(list->Behaviour, 0u);
  EXPECT_EQ(list->Visible, 0);
  EXPECT_EQ(list->Active, 0);
  EXPECT_EQ(Styles(list), "ListArea/ListArea");
  EXPECT_EQ(Part(Part(gui->CreateMenu("sk", nullptr, POS, KV_VECTOR(60, 20, 0, 1), "", icon, 0x4000,
                                      nullptr),
                      "menu"),
                 "menulist")
                ->Behaviour,
            0u);
  EXPECT_EQ(Part(Part(gui->CreateMenu("sk", nullptr, POS, KV_VECTOR(60, 20, 0, 1), "", icon, 0x100,
                                      nullptr),
                      "menu"),
                 "menulist")
                ->Behaviour,
            0x100u);

  gui->MenuAddItem(menu, "sk", KV_VECTOR(80, 20, 0, 1), "Open", icon);
  CONTROL* sub = gui->CreateSubMenu(menu, "sk", KV_VECTOR(90, 25, 0, 1), "Recent", icon, 0x200);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetTag(), "menuitem");
  EXPECT_EQ(sub->GetParent(), list);
  EXPECT_FLOAT_EQ(sub->Position.y, 20);
  EXPECT_FLOAT_EQ(list->Size.x, 90);
  EXPECT_FLOAT_EQ(list->Size.y, 45);
  EXPECT_FLOAT_EQ(Kids(list)[0]->Size.x, 90);  // the earlier entry takes the new width
  EXPECT_EQ(Part(Part(sub, "menu"), "menulist")->Behaviour, 0x200u);
  EXPECT_EQ(gui->CreateSubMenu(button, "sk", KV_VECTOR(90, 25, 0, 1), "", icon, 0), nullptr);
}

TEST_F(Factories, EditAndComboBoxes) {
  CONTROL* edit = gui->CreateEditBox("sk", "e", POS, KV_VECTOR(100, 20, 0, 1), "abc", 1, nullptr);
  auto* field = dynamic_cast<KV_GUI::__edit*>(Part(edit, "editbox"));
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->Text, "***");
  EXPECT_EQ(field->TextLeft, "abc");
  EXPECT_EQ(field->Masked, 1);
  EXPECT_EQ(Styles(field), "BoxActive/BoxUnactive");
  edit = gui->CreateEditBox("sk", "e2", POS, KV_VECTOR(100, 20, 0, 1), "abc", 0, nullptr);
  EXPECT_EQ(Part(edit, "editbox")->Text, "abc");

  CONTROL* combo =
      gui->CreateComboBox("sk", "c", POS, KV_VECTOR(120, 20, 0, 1), KV_VECTOR(120, 80, 0, 1), 10,
                          "Pick", 0x20, 1, 2, 3, 4, nullptr);
  EXPECT_EQ(Named("c"), combo);
  EXPECT_EQ(combo->Text, "Pick");
  EXPECT_EQ(Styles(combo), "ButtonActive/ButtonUnactive");
  EXPECT_EQ(Tags(combo), (std::vector<std::string>{"comboboxm", "comboboxic"}));
  CONTROL* area = Kids(Part(combo, "comboboxm"))[0];
  EXPECT_EQ(area->GetTag(), "scrollarea");
  EXPECT_EQ(area->Behaviour, 0x80u);
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
  EXPECT_EQ(arrow->Behaviour, 0x2800u);
  combo = gui->CreateComboBox("sk", nullptr, POS, KV_VECTOR(120, 20, 0, 1),
                              KV_VECTOR(120, 80, 0, 1), 10, "", 0x400, 0, 0, 0, 0, nullptr);
  EXPECT_EQ(Kids(Part(combo, "comboboxm"))[0]->Behaviour, 0x400u);
}

TEST_F(Factories, ARefusedTopLeavesTheTreeAndTheNamesAsTheyWere) {
  // A parent that is in no tree refuses every child.
  C_GUI_CONTROL outside;
  KV_HANDLE icon = {};
  KV_VECTOR size(100, 20, 0, 1);
  EXPECT_EQ(gui->CreateWindow("sk", "n", "", POS, size, 15, icon, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateButton("sk", "n", "", POS, size, icon, &outside), nullptr);
  EXPECT_EQ(gui->CreateScrollPlane("sk", "n", POS, size, size, size, 0, 0, 0, 0, &outside),
            nullptr);
  EXPECT_EQ(gui->CreateComboList("sk", "n", POS, size, size, size, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateStatic("sk", "n", "", POS, size, &outside), nullptr);
  EXPECT_EQ(gui->CreateProgressBar("sk", "n", POS, size, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateListBox("sk", "n", POS, size, 5, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateCheckBox("sk", "n", POS, size, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateOptionBox("sk", "n", POS, size, 0, 0, 0, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateGroup("sk", "n", POS, size, "", &outside), nullptr);
  EXPECT_EQ(gui->CreateSlider("sk", "n", POS, size, &outside), nullptr);
  EXPECT_EQ(gui->CreateMenu("sk", "n", POS, size, "", icon, 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateEditBox("sk", "n", POS, size, "", 0, &outside), nullptr);
  EXPECT_EQ(gui->CreateComboBox("sk", "n", POS, size, size, 5, "", 0, 0, 0, 0, 0, &outside),
            nullptr);
  EXPECT_EQ(TopLevelCount(), 0u);
  EXPECT_EQ(outside.node, nullptr);
  EXPECT_EQ(gui->controls.CountName(nullptr), 0u);
  // The refused controls were freed (the leak checker of the sanitizer build sees the rest);
  // a control of another manager's tree is refused the same way.
  KV_GUI other;
  CONTROL* foreign = other.CreateStatic("sk", nullptr, "", POS, size, nullptr);
  ASSERT_NE(foreign, nullptr);
  EXPECT_EQ(gui->CreateButton("sk", "n", "", POS, size, icon, foreign), nullptr);
  EXPECT_EQ(foreign->node->Count(), 0u);
}

// ---- built composites react to input through their widgets ----

std::vector<uint32_t>& Heard() {
  static std::vector<uint32_t> heard;
  return heard;
}
void Hear(CONTROL* control) {
  if (control->Events & 0x7800) Heard().push_back(control->Events & 0x7800);
}

TEST_F(Factories, ABuiltButtonReachesTheApplicationsProcedure) {
  Heard().clear();
  KV_HANDLE icon = {};
  auto* button = dynamic_cast<C_GUI_CONTROL*>(
      gui->CreateButton("sk", "ok", "OK", POS, KV_VECTOR(80, 20, 0, 1), icon, nullptr));
  ASSERT_NE(button, nullptr);
  button->EventProc = Hear;
  Step();
  Cursor(110, 110);
  Step();  // entered: the outer takes the over look
  EXPECT_EQ(StyleName(button->StyleActive), "AreaOver");
  Click(110, 110);
  Cursor(500, 500);
  Step();  // left
  EXPECT_EQ(StyleName(button->StyleActive), "AreaActive");
  EXPECT_EQ(Heard(), (std::vector<uint32_t>{0x1000, 0x800, 0x2000}));
}

TEST_F(Factories, AWindowsCloseButtonTellsTheClientAreaAndListItemsSelect) {
  Heard().clear();
  KV_HANDLE icon = {};
  auto* client = dynamic_cast<C_GUI_CONTROL*>(gui->CreateWindow(
      "sk", "w", "T", POS, KV_VECTOR(300, 200, 0, 1), 1 | 2, icon, 0, 0, 0, 0, nullptr));
  ASSERT_NE(client, nullptr);
  client->EventProc = Hear;
  CONTROL* list = gui->CreateListBox("sk", "lb", KV_VECTOR(10, 10, 0, 1), KV_VECTOR(100, 100, 0, 1),
                                     10, 0, 0, 0, 0, client);
  gui->ListBoxAddItem("sk", "a", 20, list);
  gui->ListBoxAddItem("sk", "b", 20, list);
  Step();
  // Item "b" is at y 20..40 of the list, which sits at (10, 10) in the client area (window
  // top-left plus the 24-pixel bar row).
  Click(120, 100 + 24 + 10 + 25);
  KV_LIST<CONTROL*> selected;
  ASSERT_TRUE(gui->ListBoxGetSelected(list, selected));
  ASSERT_EQ(selected.Count(), 1u);
  EXPECT_EQ((*selected.Begin())->Text, "b");
  // The close glyph is not hit; the button under it is: the client hears 0x1000.
  Click(368 + 15, 110);
  EXPECT_EQ(Heard(), (std::vector<uint32_t>{0x1000}));
}

}  // namespace
