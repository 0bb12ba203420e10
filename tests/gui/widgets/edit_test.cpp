// The edit box's field: focus by click, typing, the caret keys, the blinking caret, password
// mode and the end of editing by a press outside or by its window being switched off or hidden.
#include "widget_fixture.h"

#include "app/loop.h"

namespace {

class Edit : public WidgetTest {
 protected:
  KV_GUI::__edit* edit = nullptr;

  void SetUp() override {
    WidgetTest::SetUp();
    C_GUI_CONTROL* outer = Outer(nullptr, 0, 0, 100, 20, "edit");
    edit = Put(new KV_GUI::__edit(), outer, 0, 0, 100, 20, "editbox");
    edit->Masked = 0;
    KV_LOOP::Instance().frameTime = 0.2f;
  }

  void Type(const char* text) {
    for (const char* p = text; *p != 0; ++p)
      KV_INPUT::Instance().typedChars.PushBack((unsigned char)*p);
  }
  // One frame with key pressed this frame.
  void Key(unsigned int key) {
    KvSetKeyPressed(key, 1);
    Move(10, 10);
  }
  std::string Halves() {
    return std::string(edit->TextLeft.c_str()) + "^" + edit->TextRight.c_str();
  }
};

TEST_F(Edit, ClickStartsEditingAndTypedTextLandsLeftOfTheCaret) {
  Type("x");
  Move(10, 10);  // not editing: typed text is ignored
  EXPECT_EQ(Halves(), "^");
  Click(10, 10);
  EXPECT_EQ(edit->Editing, 1);
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"edit", KV_GUI::EDIT_CLICKED}}));
  Type("ab\tc\r\n\bd");
  Move(10, 10);
  EXPECT_EQ(Halves(), "abcd^");
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"edit", KV_GUI::EDIT_TYPED}}));
  // The typed text stays queued for other readers.
  Type("e");
  Cursor(10, 10);
  Frame();
  EXPECT_EQ(KvCharCount(), 1u);
  KvClearChars();
}

TEST_F(Edit, CaretKeysMoveAndDeleteWithinTheText) {
  Click(10, 10);
  Type("abc");
  Move(10, 10);
  TakeHeard();
  Key(VK_LEFT);
  EXPECT_EQ(Halves(), "ab^c");
  Key(VK_HOME);
  EXPECT_EQ(Halves(), "^abc");
  Key(VK_LEFT);  // at the start: nothing
  EXPECT_EQ(Halves(), "^abc");
  Key(VK_BACK);  // at the start: nothing
  EXPECT_EQ(Halves(), "^abc");
  Key(VK_DELETE);
  EXPECT_EQ(Halves(), "^bc");
  Key(VK_RIGHT);
  EXPECT_EQ(Halves(), "b^c");
  Key(VK_END);
  EXPECT_EQ(Halves(), "bc^");
  Key(VK_DELETE);  // at the end: nothing
  Key(VK_RIGHT);   // at the end: nothing
  EXPECT_EQ(Halves(), "bc^");
  Key(VK_BACK);
  Key(VK_BACK);
  Key(VK_BACK);  // one more than there is
  EXPECT_EQ(Halves(), "^");
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>(12, Heard{"edit", KV_GUI::EDIT_KEY_PRESSED})));
}

TEST_F(Edit, CaretBlinksEveryHalfSecondOfFrameTime) {
  Click(10, 10);
  Type("ab");
  Move(10, 10);
  // Editing frames so far: the release (caret on, 0.5 left), this one (0.3 left).
  EXPECT_EQ(edit->CaretShown, 1);
  EXPECT_EQ(std::string(edit->Text.c_str()), "ab|");
  Move(10, 10);  // 0.1 left
  EXPECT_EQ(edit->CaretShown, 1);
  Move(10, 10);  // -0.1: toggles
  EXPECT_EQ(edit->CaretShown, 0);
  EXPECT_EQ(std::string(edit->Text.c_str()), "ab");
  EXPECT_FLOAT_EQ(edit->BlinkTimer, 0.5f);
}

TEST_F(Edit, PasswordModeShowsStarsWithTheCaretInPlace) {
  edit->Masked = 1;
  Click(10, 10);
  Type("abc");
  Move(10, 10);
  Key(VK_LEFT);
  Move(10, 10);  // shows the key's edit; the caret is still on (0.5 - 0.2 - 0.2 ...)
  edit->CaretShown = 0;
  edit->BlinkTimer = 0.05f;  // toggles on in the next frame
  Move(10, 10);
  EXPECT_EQ(std::string(edit->Text.c_str()), "**|*");
  Press(300, 300);
  EXPECT_EQ(std::string(edit->Text.c_str()), "***");
}

TEST_F(Edit, APressHeldOutsideEndsEditing) {
  Click(10, 10);
  Type("hi");
  Move(10, 10);
  TakeHeard();
  Press(300, 300);
  EXPECT_EQ(edit->Editing, 0);
  EXPECT_EQ(std::string(edit->Text.c_str()), "hi");
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"edit", KV_GUI::EDIT_ENDED}}));
  Release(300, 300);
  Press(300, 300);  // not editing any more: nothing
  EXPECT_TRUE(TakeHeard().empty());
}

// ---- a window that is switched off or hidden ends the editing of the boxes inside it ----

class EditInWindow : public Edit {
 protected:
  C_GUI_CONTROL* window = nullptr;

  void SetUp() override {
    WidgetTest::SetUp();
    window = Outer(nullptr, 0, 0, 200, 100, "window");
    C_GUI_CONTROL* outer = Outer(window, 0, 0, 100, 20, "edit");
    edit = Put(new KV_GUI::__edit(), outer, 0, 0, 100, 20, "editbox");
    edit->Masked = 0;
    KV_LOOP::Instance().frameTime = 0.2f;
    Click(10, 10);
    Type("ab");
    Move(10, 10);
    TakeHeard();
  }
};

TEST_F(EditInWindow, SwitchingTheWindowOffEndsEditingAndTakesNoMoreText) {
  window->Active = 0;
  Type("cd");
  Move(10, 10);
  EXPECT_EQ(edit->Editing, 0);
  EXPECT_EQ(Halves(), "ab^");
  EXPECT_EQ(std::string(edit->Text.c_str()), "ab");  // shown without caret
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"edit", KV_GUI::EDIT_ENDED}}));
  // Switched on again, the box waits for a click before it takes text.
  window->Active = 1;
  Type("e");
  Move(10, 10);
  EXPECT_EQ(Halves(), "ab^");
  EXPECT_TRUE(TakeHeard().empty());
}

TEST_F(EditInWindow, HidingTheWindowEndsEditingAndAClickCannotStartIt) {
  window->Visible = 0;
  Type("cd");
  Move(10, 10);
  EXPECT_EQ(edit->Editing, 0);
  EXPECT_EQ(Halves(), "ab^");
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"edit", KV_GUI::EDIT_ENDED}}));
  // A hidden box is still hit, but it takes no focus.
  Click(10, 10);
  EXPECT_EQ(edit->Editing, 0);
  EXPECT_TRUE(TakeHeard().empty());
}

TEST_F(EditInWindow, EditingSwitchedOnInAHiddenBoxEndsAtOnce) {
  window->Visible = 0;
  Move(10, 10);
  TakeHeard();
  edit->Editing = 1;  // as EditBoxEditMode does
  Type("x");
  Move(10, 10);
  EXPECT_EQ(edit->Editing, 0);
  EXPECT_EQ(Halves(), "ab^");
  EXPECT_EQ(TakeHeard(), (std::vector<Heard>{{"edit", KV_GUI::EDIT_ENDED}}));
}

}  // namespace
