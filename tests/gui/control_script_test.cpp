// The control script: each statement's effect on the control it runs on, variables and their
// arithmetic, selection, the eight commands, and the ways a run ends early.
#include <gtest/gtest.h>

#include "composite_fixture.h"
#include "app/loop.h"
#include "gui/composite.h"
#include "gui/control_script.h"

namespace {

class ControlScript : public CompositeTest {
 protected:
  C_GUI_CONTROL* control = nullptr;

  void SetUp() override {
    CompositeTest::SetUp();
    screen.title = "Main";
    control = new C_GUI_CONTROL();
    gui->AddControl(control, nullptr);
  }
  void Run(const char* script, CONTROL* on = nullptr) {
    KvGuiRunScript(on != nullptr ? on : control, script, gui);
  }
  // Runs the script, then copies variable v into Text, so its value can be read back.
  std::string Result(const std::string& script) {
    control->Text = "";
    Run((script + " ; set Text to variable v ; ").c_str());
    return control->Text.c_str();
  }
};

TEST_F(ControlScript, EmptyScriptsAndSeparatorsChangeNothing) {
  Run("");
  Run("; ; ;  ;");
  KvGuiRunScript(nullptr, "set Order to number 1h ", gui);
  KvGuiRunScript(control, nullptr, gui);
  KvGuiRunScript(control, "set Order to number 1h ", nullptr);
  EXPECT_EQ(control->Order, 0.0f);
  EXPECT_STREQ(control->Text, "");
}

TEST_F(ControlScript, SetsPropertiesOfEveryType) {
  Run("set Position to number 10:20f ; set Size to number 3:4:5:6f ; set Order to number 2.5h ; "
      "set Visible to boolean false ; set CutArea to boolean yes ; set MarginLeft to number 7h ; "
      "set Events to number 9d ; set Text to string 'two  spaces here' ; ");
  EXPECT_EQ(control->Position.x, 10.0f);
  EXPECT_EQ(control->Position.y, 20.0f);
  EXPECT_EQ(control->Size.w, 6.0f);
  EXPECT_EQ(control->Order, 2.5f);
  EXPECT_EQ(control->Visible, 0);
  EXPECT_EQ(control->CutArea, 0);
  EXPECT_EQ(control->MarginLeft, 7.0f);
  EXPECT_EQ(control->Events, 9u);
  EXPECT_STREQ(control->Text, "two  spaces here");
}

TEST_F(ControlScript, SetDecodesOnlyTheComponentsGivenAndLiteralsOfTheTargetsType) {
  control->Position = KV_VECTOR(1, 2, 3, 4);
  Run("set Position to number 9f ; set Order to number 5i ; set Order to number 5 ; "
      "set Events to number 1h ; set Nothing to number 3h ; ");
  EXPECT_EQ(control->Position.x, 9.0f);
  EXPECT_EQ(control->Position.y, 2.0f);
  EXPECT_EQ(control->Position.w, 4.0f);
  EXPECT_EQ(control->Order, 0.0f);
  EXPECT_EQ(control->Events, 0u);
}

TEST_F(ControlScript, FlagWordsSetOrAndClearBits) {
  Run("set Behaviour to flag DOCK_TO_CENTER ; add Behaviour to flag DOCK_TO_MIDDLE ; ");
  EXPECT_EQ(control->Behaviour, KV_GUI::CENTRALIZE);
  Run("subtract Behaviour with flag ALL ; ");
  EXPECT_EQ(control->Behaviour, 0u);
  Run("set Behaviour to flag FIT_TO_EDGE ; subtract Behaviour with flag FIT_TO_EDGE_TOP ; "
      "add Behaviour to flag NO_SUCH_FLAG ; ");
  EXPECT_EQ(control->Behaviour,
            KV_GUI::FIT_TO_EDGE_BOTTOM | KV_GUI::FIT_TO_EDGE_LEFT | KV_GUI::FIT_TO_EDGE_RIGHT);
  Run("set Behaviour to flag UNKNOWN ; ");
  EXPECT_EQ(control->Behaviour, 0u);
}

TEST_F(ControlScript, TextOperationsAppendAndRemoveEveryOccurrence) {
  Run("set Text to string ab-ab-c ; subtract Text with string ab ; add Text to string 'x y' ; ");
  EXPECT_STREQ(control->Text, "--cx y");
  Run("set Text to string '' ; ");
  EXPECT_STREQ(control->Text, "");
  // Escapes are decoded before the words are split; a quote left open runs to the end.
  Run("set Text to string 'tab\\there and rest");
  EXPECT_STREQ(control->Text, "tab\there and rest");
}

TEST_F(ControlScript, TextStopsGrowingWhenDoubledWithoutEnd) {
  std::string script = "variable v as string ; set variable v to string abcd ; ";
  for (int i = 0; i < 40; ++i) script += "add variable v to variable v ; ";
  std::string text = Result(script);
  EXPECT_EQ(text.size(), 1u << 20);
}

TEST_F(ControlScript, BooleanAddNegatesOnlyForTrue) {
  Run("add Hitable to boolean true ; ");
  EXPECT_EQ(control->Hitable, 0);
  Run("subtract Hitable with boolean false ; ");
  EXPECT_EQ(control->Hitable, 0);
  Run("subtract Hitable with boolean true ; ");
  EXPECT_EQ(control->Hitable, 1);
}

TEST_F(ControlScript, TagBufferIsWrittenAsZeroEndedText) {
  Run("set Extend to string box ; add Extend to string es ; ");
  EXPECT_STREQ(control->GetTag(), "boxes");
  Run("set Extend to string x ; set Text to string y ; multiply Extend by string z ; ");
  EXPECT_STREQ(control->GetTag(), "x");
}

TEST_F(ControlScript, TexturesAndStylesAreTakenByNameAndAddedWhenMissing) {
  KV_HANDLE handle;
  handle.endFlag = 0;
  handle.value = 77;
  *gui->textures.GetValue("logo") = handle;
  Run("set Icon to texture logo ; set StyleActive to style 'Area' ; "
      "set StyleUnactive to style 'fresh style' ; ");
  EXPECT_EQ(control->Icon.Id(), 77u);
  EXPECT_EQ(StyleName(control->StyleActive), "Area");
  EXPECT_EQ(StyleName(control->StyleUnactive), "fresh style");
  // Only set stores a handle; the name is still added.
  Run("add Icon to texture other ; ");
  EXPECT_EQ(control->Icon.Id(), 77u);
  EXPECT_FALSE(gui->textures.Find(1, "other").IsEnd());
}

TEST_F(ControlScript, VariablesDoArithmeticOfTheirType) {
  Run("variable w as dword ; set variable w to number 7d ; multiply variable w by number 6d ; "
      "subtract variable w with number 2d ; divide variable w by number 4d ; "
      "set Events to variable w ; ");
  EXPECT_EQ(control->Events, 10u);
  // Whole numbers wrap instead of overflowing.
  Run("subtract Events with number 11d ; ");
  EXPECT_EQ(control->Events, KV_GUI::ALL);
  // A source of another type changes nothing.
  Run("variable h as half ; set variable h to number 1h ; set Events to variable h ; ");
  EXPECT_EQ(control->Events, KV_GUI::ALL);
  EXPECT_EQ(Result("variable v as string ; set variable v to string ab ; "
                   "add variable v to variable v ; subtract variable v with string b"),
            "aa");
  // A declared name keeps its first type and value.
  EXPECT_EQ(Result("variable v as string ; set variable v to string kept ; "
                   "variable v as integer ; variable v as string ; add variable v to string !"),
            "kept!");
  // A boolean source negates on add.
  Run("variable b as boolean ; set variable b to boolean true ; add Visible to variable b ; "
      "set Active to variable b ; ");
  EXPECT_EQ(control->Visible, 0);
  EXPECT_EQ(control->Active, 1);
}

TEST_F(ControlScript, NumberVariablesDivideOnlyByNonZero) {
  Run("variable z as half ; set variable z to number 0h ; set Order to number 8h ; "
      "divide Order by variable z ; divide Order by number 0h ; divide Order by number 2h ; ");
  EXPECT_EQ(control->Order, 4.0f);
  Run("variable d as dword ; set variable d to number 0d ; set Events to number 12d ; "
      "divide Events by variable d ; divide Events by number 3d ; add Events to number 1d ; ");
  EXPECT_EQ(control->Events, 5u);
  // The most negative integer divided by -1 wraps instead of trapping (checked by the
  // sanitizer build).
  Run("variable i as integer ; set variable i to number -2147483648i ; "
      "divide variable i by number -1i ; variable j as integer ; set variable j to number 0i ; "
      "divide variable i by variable j ; multiply variable i by number 2i ; ");
}

TEST_F(ControlScript, VectorsCombineComponentWise) {
  control->Size = KV_VECTOR(10, 20, 0, 1);
  Run("variable h as halfvector ; set variable h to number 2:4f ; multiply Size by variable h ; "
      "add Size to number 1:1f ; subtract Position with number 5f ; ");
  EXPECT_EQ(control->Size.x, 21.0f);
  EXPECT_EQ(control->Size.y, 81.0f);
  EXPECT_EQ(control->Position.x, -5.0f);
  EXPECT_EQ(control->Position.y, 0.0f);
}

TEST_F(ControlScript, BuiltInsAreSnapshotsOfWindowAndClock) {
  KV_LOOP::Instance().frameTime = 0.25f;
  Run("set Order to variable DeltaTime ; set Size to variable WindowSize ; "
      "set Text to variable WindowName ; add Text to string ! ; "
      "set Position to variable DeltaTimeVector ; multiply Position by variable WindowSize ; ");
  EXPECT_EQ(control->Order, 0.25f);
  EXPECT_EQ(control->Size.x, 800.0f);
  EXPECT_EQ(control->Size.y, 600.0f);
  EXPECT_STREQ(control->Text, "Main!");
  EXPECT_EQ(control->Position.x, 200.0f);
  EXPECT_EQ(control->Position.y, 150.0f);
}

TEST_F(ControlScript, SelectsOtherControls) {
  C_GUI_CONTROL* child = new C_GUI_CONTROL();
  gui->AddControl(child, control);
  *gui->controls.GetValue("the volume") = child;
  Run("select by name 'the volume' ; set Order to number 3h ; select parent ; "
      "set Order to number 4h ; select by name 'the volume' ; select this ; "
      "set Text to string me ; ");
  EXPECT_EQ(child->Order, 3.0f);
  EXPECT_EQ(control->Order, 4.0f);
  EXPECT_STREQ(control->Text, "me");
  EXPECT_STREQ(child->Text, "");
  // Unknown words after "select" or "by" change nothing and the run goes on.
  Run("select somewhere ; select by id ; set Text to string on ; ", child);
  EXPECT_STREQ(child->Text, "on");
}

TEST_F(ControlScript, RunEndsWhereTheStatementCannotGoOn) {
  const char* endings[] = {
      "select parent ; ",                      // a top-level control has no parent
      "select by name nobody ; ",              // nothing filed under the name
      "set variable missing to number 1h ; ",  // no such variable
      "set Order with number 1h ; ",           // wrong joining word
      "set Order to variable missing ; ",      // no source variable
      "variable v is string ; ",               // a declaration needs "as"
      "exit ; ",
  };
  for (const char* ending : endings) {
    control->Text = "before";
    Run((std::string(ending) + "set Text to string after ; ").c_str());
    EXPECT_STREQ(control->Text, "before") << ending;
  }
  // A statement still needing a word at the end of the text ends the run too.
  Run("set Text to");
  EXPECT_STREQ(control->Text, "before");
}

TEST_F(ControlScript, StaleNamesAreNotSelected) {
  C_GUI_CONTROL* gone = new C_GUI_CONTROL();
  gui->AddControl(gone, nullptr);
  *gui->controls.GetValue("gone") = gone;
  ASSERT_TRUE(gui->RemoveControl(gone));
  control->Text = "kept";
  Run("select by name gone ; set Text to string changed ; ");
  EXPECT_STREQ(control->Text, "kept");
}

TEST_F(ControlScript, LastWordWithoutSpaceRunsOnlyInsideAStatement) {
  Run("set Order to number 6h");
  EXPECT_EQ(control->Order, 6.0f);
  // A lone statement word at the end is never read; as the first word it is.
  Run("set Text to string a ; exit");
  EXPECT_STREQ(control->Text, "a");
  Run("set Order to number 1h ; unknown words are skipped ; add Order to number 1h ; ");
  EXPECT_EQ(control->Order, 2.0f);
}

TEST_F(ControlScript, LineEndsSeparateWords) {
  Run("set Order\nto number 2h\r\nadd Order to\rnumber 1h ");
  EXPECT_EQ(control->Order, 3.0f);
}

TEST_F(ControlScript, CommandsActOnTheSelection) {
  CONTROL* slider = gui->CreateSlider("sk", "slider", KV_VECTOR(0, 0), KV_VECTOR(110, 10), nullptr);
  CONTROL* bar =
      gui->CreateProgressBar("sk", "bar", KV_VECTOR(0, 0), KV_VECTOR(100, 10), 0, 0, 0, 0, nullptr);
  CONTROL* edit =
      gui->CreateEditBox("sk", "edit", KV_VECTOR(0, 0), KV_VECTOR(100, 20), "", 0, nullptr);
  ASSERT_NE(slider, nullptr);
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(edit, nullptr);
  Run("select by name slider ; do SliderSetFactor using number 0.5h now ; "
      "select by name bar ; do ProgressBarSetPhase using number 0.25h now ; "
      "select by name edit ; do EditBoxSetText using string 'hello there' now ; "
      "do EditBoxPasswordMode using boolean true now ; do EditBoxEditMode using boolean true ; ");
  EXPECT_FLOAT_EQ(gui->SliderGetFactor(slider), 0.5f);
  EXPECT_FLOAT_EQ(gui->ProgressBarGetPhase(bar), 0.25f);
  KV_STRING text;
  ASSERT_TRUE(gui->EditBoxGetText(edit, text));
  EXPECT_STREQ(text, "hello there");
  KV_GUI::__edit* field = dynamic_cast<KV_GUI::__edit*>(Part(edit, "editbox"));
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->Masked, 1);
  EXPECT_EQ(field->Editing, 1);
}

TEST_F(ControlScript, CommandArgumentsFallBackToStartValues) {
  CONTROL* slider = gui->CreateSlider("sk", "slider", KV_VECTOR(0, 0), KV_VECTOR(110, 10), nullptr);
  ASSERT_NE(slider, nullptr);
  gui->SliderSetFactor(slider, 1);
  // Missing "using", an argument of another kind, a literal of another type, an argument in
  // the second position: each gives the start value 0.
  const char* scripts[] = {
      "do SliderSetFactor ; ",
      "do SliderSetFactor using boolean true now ; ",
      "do SliderSetFactor using number 1i now ; ",
      "do SliderSetFactor using other number 1h now ; ",
  };
  for (const char* script : scripts) {
    gui->SliderSetFactor(slider, 1);
    Run(script, slider);
    EXPECT_EQ(gui->SliderGetFactor(slider), 0.0f) << script;
  }
  // Later pairs are read and dropped; the scan goes on after "now".
  Run("do SliderSetFactor using number 1h number 0.5h now set Order to number 2h ; ", slider);
  EXPECT_EQ(gui->SliderGetFactor(slider), 1.0f);
  EXPECT_EQ(slider->Order, 2.0f);
}

TEST_F(ControlScript, MenuCommandsOpenAndCloseTheList) {
  CONTROL* menu = gui->CreateMenu("sk", "menu", KV_VECTOR(0, 0), KV_VECTOR(80, 20), "File",
                                  KV_HANDLE(), KV_GUI::DOCK_TO_EDGE_BOTTOM, nullptr);
  ASSERT_NE(menu, nullptr);
  CONTROL* list = KvCore::composite::MenuList(menu);
  ASSERT_NE(list, nullptr);
  Run("do MenuExpand set Order to number 1h ; ", menu);
  EXPECT_EQ(list->Visible, 1);
  EXPECT_EQ(menu->Order, 1.0f);
  Run("do MenuCollapse ; do NoSuchCommand ; set Order to number 2h ; ", menu);
  EXPECT_EQ(list->Visible, 0);
  EXPECT_EQ(menu->Order, 2.0f);
}

TEST_F(ControlScript, ScrollContentSizeTakesAHalfVector) {
  CONTROL* content =
      gui->CreateScrollPlane("sk", "plane", KV_VECTOR(0, 0), KV_VECTOR(100, 100), KV_VECTOR(10, 10),
                             KV_VECTOR(100, 100), 0, 0, 0, 0, nullptr);
  ASSERT_NE(content, nullptr);
  Run("do ScrollSetContentSize using number 300:400f now ; ", content);
  KV_VECTOR extent = gui->ScrollGetContentSize(content);
  EXPECT_EQ(extent.x, 300.0f);
  EXPECT_EQ(extent.y, 400.0f);
}

}  // namespace
