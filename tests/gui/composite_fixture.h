// Shared pieces of the factory and per-control API tests: a manager with a skin "sk" that
// maps every part name the composites use to a style of the same name (so a control's style
// tells which part it was given) and its screen, helpers that walk a composite by position and
// part name, an event procedure that records the notifications it hears, and frames of mouse
// input driven through the GUI's real input pass.
#pragma once

#include <string>
#include <vector>

#include "gui_fixture.h"
#include "skin_parts.h"
#include "gui/widgets/widgets.h"

using KvCore::Com::C_GUI_CONTROL;

class CompositeTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    Heard().clear();
    // Removals search from the root, which belongs to the tree once the GUI has its screen.
    gui->Attach(&screen);
    KV_SKIN* skin = gui->skins.GetValue("sk");
    for (const char* part : kSkinParts) {
      *skin->GetValue(part) = part;
      gui->styles.Get(part);
    }
  }

  // The name of the style a handle points at; "-" for no style.
  std::string StyleName(KV_GUI::STYLE_HANDLE handle) {
    KV_LIST_ITERATOR<KV_KEY> key = gui->styles.keys.Begin();
    for (auto it = gui->styles.Begin(); !it.IsEnd(); it.Next(), key.Next())
      if (it == handle) return key->name;
    return "-";
  }
  // "active/unactive" style names of a control.
  std::string Styles(CONTROL* c) {
    return StyleName(c->StyleActive) + "/" + StyleName(c->StyleUnactive);
  }

  static std::vector<CONTROL*> Kids(CONTROL* c) {
    std::vector<CONTROL*> kids;
    for (auto it = c->node->Begin(); !it.IsEnd(); it.Next()) kids.push_back(it->value.Get());
    return kids;
  }
  static std::vector<std::string> Tags(CONTROL* c) {
    std::vector<std::string> tags;
    for (CONTROL* kid : Kids(c)) tags.push_back(kid->GetTag().c_str());
    return tags;
  }
  // The child of c tagged tag; fails the test and gives null when there is none.
  static CONTROL* Part(CONTROL* c, const char* tag) {
    for (CONTROL* kid : Kids(c))
      if (kid->GetTag() == tag) return kid;
    ADD_FAILURE() << "no part " << tag;
    return nullptr;
  }
  CONTROL* Named(const char* name) {
    auto it = gui->controls.Find(1, name);
    return it.IsEnd() ? nullptr : *it;
  }
  unsigned int TopLevelCount() { return gui->tree.Count(); }

  // The notification bits that Hear, set as an application control's event procedure, heard.
  static std::vector<uint32_t>& Heard() {
    static std::vector<uint32_t> heard;
    return heard;
  }
  static void Hear(CONTROL* control) {
    uint32_t bits = control->Events & KV_GUI::EVENT_NOTIFICATIONS;
    if (bits != 0) Heard().push_back(bits);
  }

  // One frame with the cursor at (x, y), a button pressed this frame or released.
  void Step() {
    Frame();
    KvInputResetFrame(false);
  }
  void Click(int x, int y) {
    Cursor(x, y);
    KvSetMouseDown(1, 1);
    KvSetMousePressed(1, 1);
    Step();
    KvSetMouseDown(1, 0);
    KvSetMouseReleased(1, 1);
    Step();
  }
};
