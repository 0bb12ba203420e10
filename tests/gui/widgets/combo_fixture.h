// The combo box put together by hand in the shape its factory builds: an outer control that
// records what it hears, the box part, the closed list area and its content holding two items.
#pragma once

#include "widget_fixture.h"

class Combo : public WidgetTest {
 protected:
  C_GUI_CONTROL* outer = nullptr;
  KV_GUI::__default* list = nullptr;
  KV_GUI::__combo* content = nullptr;
  KV_GUI::__comboitem* items[2] = {};

  void SetUp() override {
    WidgetTest::SetUp();
    outer = Outer(nullptr, 10, 10, 80, 20, "combo");
    outer->CutArea = 0;
    KV_GUI::__combo* box = Put(new KV_GUI::__combo(), outer, 0, 0, 80, 20, "comboboxm");
    box->CutArea = 0;
    list = Put(new KV_GUI::__default(), box, 0, 20, 80, 60, "scrollarea");
    list->Active = list->Visible = 0;
    content = Put(new KV_GUI::__combo(), list, 0, 0, 80, 60, "comboboxl");  // items fill 30..70
    const char* texts[2] = {"first", "second"};
    for (int i = 0; i < 2; ++i) {
      items[i] = Put(new KV_GUI::__comboitem(), content, 0, 20.0f * i, 80, 20);
      items[i]->Text = texts[i];
      items[i]->StyleOver = StyleNamed("over");
      items[i]->StyleNormal = StyleNamed("normal");
    }
  }
};
