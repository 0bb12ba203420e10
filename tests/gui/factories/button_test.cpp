// The button factory: the outer control and its inner part, and a built button reaching the
// application's event procedure as the pointer enters, clicks and leaves.
#include "../composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest ButtonFactory;

TEST_F(ButtonFactory, AnOuterControlFilledByItsInnerPart) {
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
  EXPECT_EQ(inner->Behaviour, KV_GUI::INHERIT_SIZE);
  EXPECT_EQ(StyleName(inner->StyleOver), "AreaOver");
  EXPECT_EQ(StyleName(inner->StyleNormal), "AreaActive");
  EXPECT_EQ(Styles(inner), "-/-");
}

TEST_F(ButtonFactory, ABuiltButtonReachesTheApplicationsProcedure) {
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
  EXPECT_EQ(Heard(), (std::vector<uint32_t>{KV_GUI::BUTTON_ENTERED, KV_GUI::BUTTON_CLICKED,
                                            KV_GUI::BUTTON_LEFT}));
}

}  // namespace
