// The elements of layout files, one builder each: the attributes an element reads, the
// factory or item adder it calls and what is applied to the control that came back (the
// text unescaped, the name filed, the procedures, the OnLoad script). Only the layout
// loader uses it.
#pragma once

#include "gui/layout_loader.h"

namespace KvCore::layout {

// What the builders share for one load: the caller's dictionaries and the manager.
struct CONTEXT {
  KV_GUI_PROCEDURES& procedures;
  KV_GUI_ICONS& icons;
  KV_GUI& gui;
};

// The result of one element.
struct BUILT {
  KV_GUI::CONTROL* control = nullptr;  // the control the element stands for; null: none
  bool known = false;                  // the element's name is one the language has
};

// Builds the control of a control-building element (every name but Include) under parent;
// Item elements go through the adder the parent's tag picks.
BUILT BuildElement(CONTEXT& context, KV_XML::NODE* element, KV_GUI::CONTROL* parent);

// The value of the element's first attribute called name; empty text when it has none.
const KV_STRING& Attribute(const KV_XML::NODE* element, const char* name);

}  // namespace KvCore::layout
