// The window factory: the window area and its client area, the title bar and the buttons by
// flag, and a built window reacting to input up to the application's event procedure.
#include "../composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest WindowFactory;

TEST_F(WindowFactory, AWindowWithCloseAndMinimizeButtons) {
  KV_HANDLE icon = {};
  CONTROL* client = gui->CreateWindow("sk", "win", "Title", POS, KV_VECTOR(300, 200, 0, 1),
                                      KV_GUI::WINDOW_CLOSE_BUTTON | KV_GUI::WINDOW_MINIMIZE_BUTTON,
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
  EXPECT_EQ(client->Behaviour, KV_GUI::FIT_TO_EDGE);
  EXPECT_FLOAT_EQ(client->MarginTop, 1);
  EXPECT_FLOAT_EQ(client->MarginBottom, 2);
  EXPECT_FLOAT_EQ(client->MarginLeft, 3);
  EXPECT_FLOAT_EQ(client->MarginRight, 4);

  CONTROL* close = Part(window, "btnclose");
  CONTROL* mini = Part(window, "btnmini");
  EXPECT_FLOAT_EQ(close->MarginRight, 0);
  EXPECT_FLOAT_EQ(mini->MarginRight, 32);
  EXPECT_FLOAT_EQ(mini->MarginLeft, -32);
  EXPECT_EQ(close->Behaviour, KV_GUI::DOCK_TO_EDGE_TOP | KV_GUI::DOCK_TO_EDGE_RIGHT_INSIDE);
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

TEST_F(WindowFactory, WindowButtonsTakeTheirPlacesByFlagAndTheBarCarriesTheTitle) {
  KV_HANDLE icon = {};
  icon.endFlag = 0;
  icon.value = 7;
  CONTROL* client = gui->CreateWindow(
      "sk", nullptr, "Title", POS, KV_VECTOR(300, 200, 0, 1),
      KV_GUI::WINDOW_TITLE_BAR | KV_GUI::WINDOW_MINIMIZE_BUTTON | KV_GUI::WINDOW_MAXIMIZE_BUTTON,
      icon, 0, 0, 0, 0, nullptr);
  CONTROL* window = client->GetParent();
  EXPECT_EQ(Tags(window), (std::vector<std::string>{"", "bar", "btnfull", "btnmini"}));
  EXPECT_FLOAT_EQ(Part(window, "btnfull")->MarginRight, 0);
  EXPECT_FLOAT_EQ(Part(window, "btnmini")->MarginRight, 32);
  CONTROL* bar = Part(window, "bar");
  EXPECT_EQ(bar->Text, "Title");
  EXPECT_EQ(bar->Icon.value, 7u);
  EXPECT_EQ(bar->Behaviour, KV_GUI::INHERIT_WIDTH | KV_GUI::DOCK_TO_EDGE_TOP);
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

TEST_F(WindowFactory, AWindowsCloseButtonTellsTheClientAreaAndListItemsSelect) {
  KV_HANDLE icon = {};
  auto* client = dynamic_cast<C_GUI_CONTROL*>(gui->CreateWindow(
      "sk", "w", "T", POS, KV_VECTOR(300, 200, 0, 1),
      KV_GUI::WINDOW_TITLE_BAR | KV_GUI::WINDOW_CLOSE_BUTTON, icon, 0, 0, 0, 0, nullptr));
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
  // The close glyph is not hit; the button under it is: the client hears that the window closed.
  Click(368 + 15, 110);
  EXPECT_EQ(Heard(), (std::vector<uint32_t>{KV_GUI::WINDOW_CLOSED}));
}

}  // namespace
