// The elements of layout files: a file written by the test builds a tree of composites with
// items, procedures and OnLoad scripts, checked through the manager and the per-control API;
// unknown names, items without a place, names and dictionaries, menus and their docking words.
#include "layout_fixture.h"

namespace {

typedef LayoutTest LayoutElements;

TEST_F(LayoutElements, BuildsATreeOfCompositesWithItemsProceduresAndScripts) {
  Write(R"(<Layout><Main>
  <Window Name="win" Skin="sk" Title="Settings" Position="10:20" Size="300:200" Caption="On"
          ButtonClose="On" Margin="1:2:3:4" EventProc="click" RenderProc="paint"
          OnLoad="set Text to string client ; ">
    <Button Name="ok" Skin="sk" Position="5:5" Size="60:20" EventProc="click"
            OnLoad="add Text to string ! ; ">Line1\nLine2</Button>
    <ListBox Name="list" Skin="sk" Position="0:30" Size="100:80" BarSize="8">
      <Item Skin="sk" Size="16">first</Item>
      <Item Skin="sk" Size="16" OnLoad="set Order to number 3h ; ">tab\there</Item>
    </ListBox>
    <CheckBox Name="checks" Skin="sk" Size="100:10">
      <Item Skin="sk" Size="12" CheckSize="10:10">alpha</Item>
    </CheckBox>
    <OptionBox Name="options" Skin="sk" Size="100:10">
      <Item Skin="sk" Size="12" OptSize="10:10">one</Item>
      <Item Skin="sk" Size="12" OptSize="10:10">two</Item>
    </OptionBox>
    <ComboBox Name="combo" Skin="sk" Size="80:20" ListSize="80:60" BarSize="6" Text="pick"
              ListDockType="LEFT-UP">
      <Item Skin="sk" Size="14">red</Item>
    </ComboBox>
    <EditBox Name="edit" Skin="sk" Size="80:20" Password="On">a\nb</EditBox>
    <Slider Name="slider" Skin="sk" Size="110:10"
            OnLoad="do SliderSetFactor using number 0.5h now ; "/>
    <ProgressBar Name="progress" Skin="sk" Size="100:10"/>
    <Group Name="group" Skin="sk" Size="50:50" Title="Frame"/>
    <Static Name="label" Skin="sk" Size="50:10" RenderProc="paint">x\ty</Static>
    <ScrollPlane Name="plane" Skin="sk" Size="50:50" BarSize="5:5" ContentSize="100:100">
      <Control Name="inside" EventProc="click" OnLoad="set Size to number 7:8f ; "/>
    </ScrollPlane>
  </Window>
</Main></Layout>)");
  ASSERT_TRUE(Load("Layout/Main"));

  CONTROL* client = Named("win");
  ASSERT_NE(client, nullptr);
  EXPECT_STREQ(client->Text, "client");
  ASSERT_NE(App(client), nullptr);
  EXPECT_EQ(App(client)->EventProc, &OnEventProc);
  EXPECT_EQ(App(client)->RenderProc, &OnDrawProc);
  EXPECT_EQ(client->MarginTop, 1.0f);
  EXPECT_EQ(client->MarginRight, 4.0f);
  CONTROL* window = client->GetParent();
  EXPECT_EQ(window->Position.x, 10.0f);
  EXPECT_EQ(window->Size.y, 200.0f);
  EXPECT_EQ(Tags(window), (std::vector<std::string>{"", "bar", "btnclose"}));

  CONTROL* ok = Named("ok");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->GetParent(), client);
  EXPECT_STREQ(ok->Text, "Line1\nLine2!");
  EXPECT_EQ(App(ok)->EventProc, &OnEventProc);
  EXPECT_EQ(App(ok)->RenderProc, nullptr);

  KV_LIST<CONTROL*> items;
  ASSERT_TRUE(gui->ListBoxGetItems(Named("list"), items));
  ASSERT_EQ(items.Count(), 2u);
  EXPECT_STREQ((*items.Begin())->Text, "first");
  EXPECT_STREQ((*items.Last())->Text, "tab\there");
  EXPECT_EQ((*items.Last())->Order, 3.0f);
  EXPECT_EQ(gui->CheckBoxGetCount(Named("checks")), 1);
  EXPECT_EQ(gui->OptionBoxGetCount(Named("options")), 2);
  EXPECT_EQ(gui->ComboBoxGetCount(Named("combo")), 1);
  CONTROL* comboItems = KvCore::composite::ComboItems(Named("combo"));
  ASSERT_NE(comboItems, nullptr);
  EXPECT_EQ(comboItems->GetParent()->Behaviour,
            KV_GUI::DOCK_TO_EDGE_LEFT | KV_GUI::DOCK_TO_EDGE_TOP);

  KV_STRING text;
  ASSERT_TRUE(gui->EditBoxGetText(Named("edit"), text));
  EXPECT_STREQ(text, "a\\nb");  // edit boxes keep the escapes as written
  EXPECT_FLOAT_EQ(gui->SliderGetFactor(Named("slider")), 0.5f);
  EXPECT_STREQ(Named("label")->Text, "x\ty");
  EXPECT_EQ(App(Named("label"))->RenderProc, &OnDrawProc);
  CONTROL* inside = Named("inside");
  ASSERT_NE(inside, nullptr);
  EXPECT_EQ(inside->GetParent(), Named("plane"));
  EXPECT_EQ(inside->Size.y, 8.0f);
  EXPECT_EQ(App(inside)->EventProc, &OnEventProc);
  ASSERT_NE(Named("group"), nullptr);
  ASSERT_NE(Named("progress"), nullptr);

  // The procedures run through the controls.
  eventCalls = 0;
  inside->OnEvent();
  EXPECT_EQ(eventCalls, 1);
}

TEST_F(LayoutElements, SkipsUnknownNamesAndItemsWithoutPlace) {
  Write(R"(<L>
  <Item Skin="sk" Size="10">top</Item>
  <Unknown><Control Name="lost"/></Unknown>
  <control Name="wrongcase"/>
  <Control Name="bare"><Item Skin="sk" Size="10">nowhere</Item></Control>
  <ListBox Name="list" Skin="sk" Size="50:50" BarSize="5">
    <Item Skin="sk" Size="10"><Control Name="itemchild"/>entry</Item>
  </ListBox>
  <Include Node="Other"><Control Name="includechild"/></Include>
</L><Other><Control Name="other"/></Other>)");
  ASSERT_TRUE(Load("L"));
  EXPECT_EQ(Named("lost"), nullptr);
  EXPECT_EQ(Named("wrongcase"), nullptr);
  EXPECT_EQ(Kids(Named("bare")).size(), 0u);
  EXPECT_EQ(gui->ListBoxGetCount(Named("list")), 1);
  EXPECT_EQ(Named("itemchild"), nullptr);
  EXPECT_EQ(Named("includechild"), nullptr);
  EXPECT_NE(Named("other"), nullptr);
}

TEST_F(LayoutElements, NamesAndDictionariesFollowTheFile) {
  Write(R"(<L>
  <Control Name="dup" EventProc="nobody"/>
  <Control Name="dup" RenderProc="paint"/>
  <Button Skin="sk" Size="10:10" Icon="missing">first</Button>
  <Button Skin="sk" Size="10:10">second</Button>
</L>)");
  ASSERT_TRUE(Load("L"));
  // The second control takes the name over.
  CONTROL* dup = Named("dup");
  ASSERT_NE(dup, nullptr);
  EXPECT_EQ(App(dup)->RenderProc, &OnDrawProc);
  // A missing procedure is added as null; a missing icon as an empty handle.
  ASSERT_FALSE(procedures.Find(1, "nobody").IsEnd());
  EXPECT_EQ(*procedures.Find(1, "nobody"), nullptr);
  ASSERT_FALSE(icons.Find(1, "missing").IsEnd());
  EXPECT_TRUE(icons.Find(1, "missing")->IsNull());
  // Buttons without a name are filed under the empty name, the last one winning.
  ASSERT_NE(Named(""), nullptr);
  EXPECT_STREQ(Named("")->Text, "second");
}

TEST_F(LayoutElements, AnElementThatNamesNoIconTakesNone) {
  // Even an icon the caller filed under the empty name is not one the element asked for.
  KV_HANDLE filed;
  filed.value = 5;
  *icons.GetValue("") = filed;
  Write(R"(<L><Button Name="b" Skin="sk" Size="10:10">OK</Button>
  <Window Name="w" Skin="sk" Size="50:50" Caption="On" Icon=""/></L>)");
  ASSERT_TRUE(Load("L"));
  EXPECT_TRUE(Named("b")->Icon.IsNull());
  EXPECT_TRUE(Part(Named("w")->GetParent(), "bar")->Icon.IsNull());
  EXPECT_EQ(icons.CountName(nullptr), 1u);
}

TEST_F(LayoutElements, MenusNestAsSubMenusAndDockByTheirWords) {
  Write(R"(<L>
  <Menu Name="file" Skin="sk" Size="60:20" ListDockType="LEFT-UP">File
    <Item Skin="sk" Size="80:20" EventProc="click">Open</Item>
    <Menu Skin="sk" Size="80:20">Recent
      <Item Skin="sk" Size="80:20">a.txt</Item>
      <Menu Skin="sk" Size="80:20">Deeper</Menu>
    </Menu>
  </Menu>
</L>)");
  ASSERT_TRUE(Load("L"));
  CONTROL* file = Named("file");
  ASSERT_NE(file, nullptr);
  CONTROL* list = KvCore::composite::MenuList(file);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Behaviour, KV_GUI::DOCK_TO_EDGE_LEFT | KV_GUI::DOCK_TO_EDGE_BOTTOM_INSIDE);
  std::vector<CONTROL*> entries = Kids(list);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_STREQ(entries[0]->Text, "Open");
  EXPECT_EQ(App(entries[0])->EventProc, &OnEventProc);
  CONTROL* recent = entries[1];
  EXPECT_EQ(recent->GetTag(), "menuitem");
  CONTROL* recentList = KvCore::composite::MenuList(recent);
  ASSERT_NE(recentList, nullptr);
  EXPECT_EQ(recentList->Behaviour, KV_GUI::DOCK_TO_EDGE_RIGHT);
  EXPECT_EQ(Kids(recentList).size(), 1u);
  // Inside a sub-menu ("menuitem") a Menu is a menu button of its own, docked below.
  CONTROL* deeper = Kids(recent).back();
  EXPECT_EQ(deeper->GetTag(), "menubutton");
  ASSERT_NE(KvCore::composite::MenuList(deeper), nullptr);
  EXPECT_EQ(KvCore::composite::MenuList(deeper)->Behaviour, KV_GUI::DOCK_TO_EDGE_BOTTOM);
}

TEST_F(LayoutElements, SwitchesAreCaseSensitive) {
  Write("<L><Window Name=\"w\" Skin=\"sk\" Size=\"100:100\" Caption=\"on\"/></L>");
  ASSERT_TRUE(Load("L"));
  EXPECT_EQ(Tags(Named("w")->GetParent()), (std::vector<std::string>{""}));
}

}  // namespace
