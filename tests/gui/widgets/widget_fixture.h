// Shared pieces of the widget tests: composites put together by hand in the shapes the
// factories build, an outer control that records the notifications it hears, and frames of
// mouse and key input driven through the GUI's real input pass.
#pragma once

#include <string>
#include <vector>

#include "../gui_fixture.h"
#include "gui/widgets/widgets.h"

using KvCore::Com::C_GUI_CONTROL;

// What the recording outers heard: (tag, notification bits), in order.
struct Heard {
  std::string tag;
  uint32_t bits;
  bool operator==(const Heard& o) const { return tag == o.tag && bits == o.bits; }
};

inline std::vector<Heard>& HeardLog() {
  static std::vector<Heard> log;
  return log;
}

inline void Record(CONTROL* control) {
  uint32_t bits = control->Events & KV_GUI::EVENT_NOTIFICATIONS;
  if (bits != 0) HeardLog().push_back({control->GetTag().c_str(), bits});
}

inline ::std::ostream& operator<<(::std::ostream& os, const Heard& h) {
  return os << h.tag << ":" << std::hex << h.bits;
}

class WidgetTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    HeardLog().clear();
    gui->Attach(&screen);
  }

  // Puts control under parent at (x, y) with size (w, h), tagged when tag is given.
  template <class T>
  T* Put(T* control, CONTROL* parent, float x, float y, float w, float h,
         const char* tag = nullptr) {
    control->Position = KV_VECTOR(x, y, 0, 1);
    control->Size = KV_VECTOR(w, h, 0, 1);
    if (tag != nullptr) control->SetTag(tag);
    EXPECT_EQ(gui->AddControl(control, parent), control);
    return control;
  }

  // An outer control that records what it hears.
  C_GUI_CONTROL* Outer(CONTROL* parent, float x, float y, float w, float h, const char* tag) {
    C_GUI_CONTROL* outer = Put(new C_GUI_CONTROL(), parent, x, y, w, h, tag);
    outer->EventProc = Record;
    return outer;
  }

  KV_GUI::STYLE_HANDLE StyleNamed(const char* name) { return gui->styles.Get(name); }

  // One frame with the cursor at (x, y): pressed (a press this frame), held or neither.
  void Move(int x, int y) {
    Cursor(x, y);
    Step();
  }
  void Press(int x, int y) {
    Cursor(x, y);
    KvSetMouseDown(1, 1);
    KvSetMousePressed(1, 1);
    Step();
  }
  void Release(int x, int y) {
    Cursor(x, y);
    KvSetMouseDown(1, 0);
    KvSetMouseReleased(1, 1);
    Step();
  }
  // A frame, then the end-of-frame reset of the input edges.
  void Step() {
    Frame();
    KvInputResetFrame(false);
    KvClearChars();  // as the frame loop does at the end of a frame
  }
  // A click: pressed and released again at (x, y).
  void Click(int x, int y) {
    Press(x, y);
    Release(x, y);
  }

  static std::vector<Heard> TakeHeard() {
    std::vector<Heard> heard = HeardLog();
    HeardLog().clear();
    return heard;
  }
};
