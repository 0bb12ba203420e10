// The factories of static texts, group frames and progress bars.
#include "../composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest DisplayFactories;

TEST_F(DisplayFactories, StaticTextsAndGroupsAreOneControl) {
  CONTROL* label = gui->CreateStatic("sk", "lbl", "Hi", POS, KV_VECTOR(80, 20, 0, 1), nullptr);
  EXPECT_EQ(label->Text, "Hi");
  EXPECT_EQ(label->node->Count(), 0u);
  CONTROL* group = gui->CreateGroup("sk", "grp", POS, KV_VECTOR(80, 20, 0, 1), "Group", nullptr);
  EXPECT_NE(dynamic_cast<KV_GUI::__default*>(group), nullptr);
  EXPECT_EQ(group->Text, "Group");
  EXPECT_EQ(Styles(group), "Area/Area");
}

TEST_F(DisplayFactories, AProgressBarSitsInsideItsBorderAndStartsEmpty) {
  CONTROL* progress =
      gui->CreateProgressBar("sk", "pb", POS, KV_VECTOR(100, 20, 0, 1), 1, 2, 3, 4, nullptr);
  EXPECT_FLOAT_EQ(progress->CutMarginTop, 1);
  EXPECT_FLOAT_EQ(progress->CutMarginRight, 4);
  CONTROL* bar = Kids(progress)[0];
  EXPECT_FLOAT_EQ(bar->Position.x, 3);
  EXPECT_FLOAT_EQ(bar->MarginTop, 1);
  EXPECT_FLOAT_EQ(bar->MarginBottom, 2);
  EXPECT_FLOAT_EQ(bar->Size.x, 0);
  EXPECT_EQ(bar->Behaviour, KV_GUI::INHERIT_HEIGHT);
  EXPECT_EQ(bar->Hitable, 0);
  EXPECT_EQ(Styles(bar), "BarActive/BarUnactive");
}

}  // namespace
