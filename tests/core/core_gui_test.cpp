// The GUI manager inside the central object: its layout in update frames, its input pass,
// deletion queue and name purge in every frame, its draw in draw frames over the scene, each
// only once it has a screen, and its tear-down with DestroyAll.
#include "core_fixture.h"

namespace {

// A control that logs its event and draw calls into the probe actors' log.
class LoggingControl : public KvCore::KV_GUI::CONTROL {
 public:
  bool detachOnEvent = false;
  void OnEvent() override {
    ProbeActor::Log().push_back("gui-event");
    if (detachOnEvent) Detach();
  }
  void OnDraw() override { ProbeActor::Log().push_back("gui-draw"); }
  ~LoggingControl() override { ProbeActor::Log().push_back("gui-gone"); }
};

class CoreGuiTest : public CoreTest {
 protected:
  KV_WINDOW screen;
  LoggingControl* control = nullptr;

  void SetUp() override {
    CoreTest::SetUp();
    screen.width = 800;
    screen.height = 600;
    screen.layered = 0;
    control = new LoggingControl();
    control->Behaviour = KvCore::KV_GUI::INHERIT_WIDTH;
    ASSERT_EQ(core->gui.AddControl(control, nullptr), control);
  }

  static void Ticks(unsigned char update, unsigned char draw) {
    KV_LOOP::Instance().updateTick = update;
    KV_LOOP::Instance().drawTick = draw;
  }
};

}  // namespace

TEST_F(CoreGuiTest, WithoutAScreenTheGuiOnlyCleansUp) {
  *core->gui.controls.GetValue("c") = control;
  Add("a");
  core->Frame();
  core->Frame();
  EXPECT_EQ(Joined(), "ua da ");  // no GUI event or draw; the actor went live, updated, drew
  EXPECT_FLOAT_EQ(control->Size.x, 0);
  EXPECT_EQ(core->gui.controls.CountName(nullptr), 0u);  // purged every frame
}

TEST_F(CoreGuiTest, StepsRunInTheirFramesWithAScreen) {
  ASSERT_TRUE(core->gui.Attach(&screen));
  Ticks(0, 0);
  core->Frame();
  EXPECT_EQ(Joined(), "gui-event ");
  EXPECT_FLOAT_EQ(control->Size.x, 0);  // no layout without the update tick

  ProbeActor::Log().clear();
  Ticks(1, 0);
  core->Frame();
  EXPECT_FLOAT_EQ(control->Size.x, 800);
  EXPECT_EQ(Joined(), "gui-event ");

  ProbeActor::Log().clear();
  Add("a");
  core->Frame();  // the actor goes live at the end of this frame
  ProbeActor::Log().clear();
  Ticks(0, 1);
  core->Frame();
  // The GUI is drawn after the scene.
  EXPECT_EQ(Joined(), "gui-event da gui-draw ");
}

TEST_F(CoreGuiTest, ALayeredScreenIsDrawnInTwoPasses) {
  screen.layered = 1;
  core->gui.Attach(&screen);
  Ticks(0, 1);
  core->Frame();
  EXPECT_EQ(Joined(), "gui-event gui-draw gui-draw ");
}

TEST_F(CoreGuiTest, ADetachInsideTheInputPassIsDoneBeforeTheDraw) {
  core->gui.Attach(&screen);
  *core->gui.controls.GetValue("c") = control;
  control->detachOnEvent = true;
  core->Frame();
  EXPECT_EQ(Joined(), "gui-event gui-gone ");
  EXPECT_EQ(core->gui.controls.CountName(nullptr), 0u);
}

TEST_F(CoreGuiTest, DestroyAllEmptiesTheGui) {
  core->gui.Attach(&screen);
  core->gui.styles.Get("s");
  core->DestroyAll();
  EXPECT_EQ(Joined(), "gui-gone ");
  EXPECT_EQ(core->gui.tree.Count(), 0u);
  EXPECT_EQ(core->gui.styles.CountName(nullptr), 0u);
}
