// Option marks: a click checks one option of the group, Ctrl-click clears the whole group, and
// the option box hears every click.
#include "widget_fixture.h"

namespace {

class Options : public WidgetTest {
 protected:
  KV_GUI::__option* options[3] = {};

  void SetUp() override {
    WidgetTest::SetUp();
    C_GUI_CONTROL* box = Outer(nullptr, 0, 0, 100, 60, "optionbox");
    for (int i = 0; i < 3; ++i) {
      KV_GUI::__default* row = Put(new KV_GUI::__default(), box, 0, 20.0f * i, 100, 20);
      options[i] = Put(new KV_GUI::__option(), row, 2, 2, 16, 16);
      options[i]->StyleActiveOn = StyleNamed("on");
      options[i]->StyleActiveOff = StyleNamed("off");
    }
  }
  std::string Checked() {
    std::string s;
    for (KV_GUI::__option* option : options) s += option->Checked ? '1' : '0';
    return s;
  }
};

TEST_F(Options, AClickChecksOneOptionOfTheGroup) {
  Click(10, 30);
  EXPECT_EQ(Checked(), "010");
  Click(10, 50);
  EXPECT_EQ(Checked(), "001");
  EXPECT_TRUE(options[1]->StyleActive == StyleNamed("off"));
  EXPECT_TRUE(options[2]->StyleActive == StyleNamed("on"));
  Click(10, 50);  // clicking the checked one keeps it checked
  EXPECT_EQ(Checked(), "001");
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>(3, Heard{"optionbox", KV_GUI::OPTION_CLICKED})));
}

TEST_F(Options, CtrlClickClearsTheWholeGroup) {
  Click(10, 10);
  KvSetKeyDown(VK_CONTROL, 1);
  Click(10, 30);
  EXPECT_EQ(Checked(), "000");
}

}  // namespace
