// The slider factory: the bar turns by the slider's shape and the thumb is square.
#include "../composite_fixture.h"

namespace {

const KV_VECTOR POS(100, 100, 0, 1);

typedef CompositeTest SliderFactory;

TEST_F(SliderFactory, SlidersTurnByTheirShape) {
  CONTROL* slider = gui->CreateSlider("sk", "s", POS, KV_VECTOR(100, 20, 0, 1), nullptr);
  EXPECT_EQ(slider->GetTag(), "slider");
  CONTROL* bar = Part(slider, "hbar");
  EXPECT_NE(dynamic_cast<KV_GUI::__slider*>(bar), nullptr);
  EXPECT_EQ(Styles(bar), "BarH/BarH");
  CONTROL* thumb = Kids(bar)[0];
  EXPECT_FLOAT_EQ(thumb->Size.x, 20);
  EXPECT_FLOAT_EQ(thumb->Size.y, 20);
  EXPECT_FLOAT_EQ(thumb->Position.x, 40);
  EXPECT_EQ(thumb->Behaviour, KV_GUI::DOCK_TO_MIDDLE);
  EXPECT_EQ(thumb->Hitable, 0);

  slider = gui->CreateSlider("sk", "s", POS, KV_VECTOR(20, 20, 0, 1), nullptr);
  EXPECT_EQ(Named("s"), slider);  // the second composite of a name replaces the first
  bar = Part(slider, "vbar");
  EXPECT_EQ(Styles(bar), "Barv/BarV");
  EXPECT_EQ(Kids(bar)[0]->Behaviour, KV_GUI::DOCK_TO_CENTER);
}

}  // namespace
