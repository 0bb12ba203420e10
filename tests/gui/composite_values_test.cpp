// The values of composites: scroll extents, progress phases and slider factors set, clamped
// and read back; menus opened and closed at every depth; edit box text and modes; button
// looks; wrong kinds and null controls failing.
#include "composite_fixture.h"

namespace {

const KV_VECTOR POS(10, 10, 0, 1);
const KV_HANDLE NO_ICON = {};

typedef CompositeTest CompositeValues;

TEST_F(CompositeValues, ScrollAndProgressValuesReadBack) {
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

TEST_F(CompositeValues, SliderFactorsAreClampedAndReadBack) {
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

TEST_F(CompositeValues, MenusOpenAndCloseAtEveryDepth) {
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

TEST_F(CompositeValues, EditBoxTextAndModes) {
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

TEST_F(CompositeValues, ButtonsSwapTheirLooks) {
  CONTROL* button =
      gui->CreateButton("sk", "b", "B", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, nullptr);
  EXPECT_TRUE(gui->ButtonSetOverStyle(button));
  EXPECT_EQ(StyleName(button->StyleActive), "AreaOver");
  EXPECT_TRUE(gui->ButtonSetNormalStyle(button));
  EXPECT_EQ(StyleName(button->StyleActive), "AreaActive");
  EXPECT_EQ(gui->GetParentControl(Kids(button)[0]), button);
  EXPECT_EQ(gui->GetParentControl(button), gui->GetRoot());
}

TEST_F(CompositeValues, NullAndWrongKindsFail) {
  CONTROL* label = gui->CreateStatic("sk", "l", "x", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  CONTROL* listLike = gui->CreateStatic("sk", "l2", "x", POS, KV_VECTOR(50, 20, 0, 1), nullptr);
  gui->CreateStatic("sk", nullptr, "child", POS, KV_VECTOR(50, 20, 0, 1), listLike);
  CONTROL* button =
      gui->CreateButton("sk", "b", "B", POS, KV_VECTOR(50, 20, 0, 1), NO_ICON, nullptr);
  KV_STRING text("keep");
  for (CONTROL* c : {(CONTROL*)nullptr, label, listLike, button}) {
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
  }
  for (CONTROL* c : {(CONTROL*)nullptr, label, listLike}) {
    EXPECT_FALSE(gui->ButtonSetOverStyle(c));
    EXPECT_FALSE(gui->ProgressBarSetPhase(c, 1));
    EXPECT_FLOAT_EQ(gui->ProgressBarGetPhase(c), 0);
  }
  EXPECT_EQ(gui->GetParentControl(nullptr), nullptr);
  // Nothing was touched: the out text and the controls are as they were.
  EXPECT_EQ(text, "keep");
  EXPECT_EQ(listLike->node->Count(), 1u);
  EXPECT_EQ(label->Text, "x");
}

}  // namespace
