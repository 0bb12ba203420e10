// The check box and option box factories.
#include "../composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest TickBoxFactories;

TEST_F(TickBoxFactories, CheckAndOptionBoxesGrowByTheirBorder) {
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

}  // namespace
