// The menu factories: a menu button with its closed list docked by the given flag, sub-menus
// appended to a menu's list, and an entry that closes its menu under the pointer.
#include "../composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest MenuFactory;

TEST_F(MenuFactory, MenusAndSubMenus) {
  KV_HANDLE icon = {};
  CONTROL* menu = gui->CreateMenu("sk", "m", POS, KV_VECTOR(60, 20, 0, 1), "File", icon,
                                  KV_GUI::INHERIT_HEIGHT, nullptr);
  EXPECT_EQ(menu->GetTag(), "menubutton");
  EXPECT_EQ(menu->Text, "File");
  EXPECT_EQ(menu->CutArea, 0);
  CONTROL* button = Part(menu, "menu");
  EXPECT_EQ(button->Behaviour, KV_GUI::INHERIT_SIZE);
  CONTROL* list = Part(button, "menulist");
  EXPECT_EQ(list->Behaviour, 0u);
  EXPECT_EQ(list->Visible, 0);
  EXPECT_EQ(list->Active, 0);
  EXPECT_EQ(Styles(list), "ListArea/ListArea");
  EXPECT_EQ(Part(Part(gui->CreateMenu("sk", nullptr, POS, KV_VECTOR(60, 20, 0, 1), "", icon,
                                      KV_GUI::DOCK_TO_MIDDLE << 1, nullptr),
                      "menu"),
                 "menulist")
                ->Behaviour,
            0u);
  EXPECT_EQ(Part(Part(gui->CreateMenu("sk", nullptr, POS, KV_VECTOR(60, 20, 0, 1), "", icon,
                                      KV_GUI::DOCK_TO_EDGE_LEFT, nullptr),
                      "menu"),
                 "menulist")
                ->Behaviour,
            KV_GUI::DOCK_TO_EDGE_LEFT);

  gui->MenuAddItem(menu, "sk", KV_VECTOR(80, 20, 0, 1), "Open", icon);
  CONTROL* sub = gui->CreateSubMenu(menu, "sk", KV_VECTOR(90, 25, 0, 1), "Recent", icon,
                                    KV_GUI::DOCK_TO_EDGE_RIGHT);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetTag(), "menuitem");
  EXPECT_EQ(sub->GetParent(), list);
  EXPECT_FLOAT_EQ(sub->Position.y, 20);
  EXPECT_FLOAT_EQ(list->Size.x, 90);
  EXPECT_FLOAT_EQ(list->Size.y, 45);
  EXPECT_FLOAT_EQ(Kids(list)[0]->Size.x, 90);  // the earlier entry takes the new width
  EXPECT_EQ(Part(Part(sub, "menu"), "menulist")->Behaviour, KV_GUI::DOCK_TO_EDGE_RIGHT);
  EXPECT_EQ(gui->CreateSubMenu(button, "sk", KV_VECTOR(90, 25, 0, 1), "", icon, 0), nullptr);
}

// The gui and menu that an entry's procedure closes.
KV_GUI* g_gui = nullptr;
CONTROL* g_menu = nullptr;

TEST_F(MenuFactory, AnEntryPickedWhileThePointerIsOnItReopensUnhighlighted) {
  KV_HANDLE icon = {};
  g_gui = gui;
  g_menu = gui->CreateMenu("sk", "m", POS, KV_VECTOR(60, 20, 0, 1), "File", icon,
                           KV_GUI::DOCK_TO_EDGE_BOTTOM, nullptr);
  auto* entry = dynamic_cast<C_GUI_CONTROL*>(
      gui->MenuAddItem(g_menu, "sk", KV_VECTOR(80, 20, 0, 1), "Open", icon));
  ASSERT_NE(entry, nullptr);
  // Picking the entry closes the menu, as an application's menu does.
  entry->EventProc = [](CONTROL* c) {
    if (c->Events & KV_GUI::BUTTON_CLICKED) g_gui->MenuCollapse(g_menu);
  };
  Step();
  Click(110, 110);  // opens the list below the menu button
  Cursor(110, 130);
  Step();
  EXPECT_EQ(StyleName(entry->StyleActive), "AreaOver");
  Click(110, 130);
  Step();
  // The list closed under a pointer that stood still: the entry heard that the pointer left.
  EXPECT_EQ(StyleName(entry->StyleActive), "AreaActive");
  gui->MenuExpand(g_menu);
  Cursor(300, 300);
  Step();
  EXPECT_EQ(StyleName(entry->StyleActive), "AreaActive");
}

}  // namespace
