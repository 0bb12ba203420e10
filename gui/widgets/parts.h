// Helpers shared by the widget classes: a widget finds the other parts of its composite by
// tree position (parent, grandparent, first child) and by part name (the tag text), and
// reports to its composite by sending one notification bit. Every helper gives null or does
// nothing where the expected link is missing, so a widget met outside its composite's shape
// acts on nothing instead of following a missing link.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore::widgets {

// The control `levels` steps up the tree (1 the parent); null where the chain ends or reaches
// the manager's root control (the root is never a part of a composite).
KV_GUI::CONTROL* Ancestor(const KV_GUI::CONTROL* control, int levels);
// The first child in tree order; null for a null control or one without children.
KV_GUI::CONTROL* FirstChild(const KV_GUI::CONTROL* control);
// Whether control's tag text equals part; false for null.
bool HasPart(const KV_GUI::CONTROL* control, const char* part);
// A click on the control this frame: the pointer is over it and a button was pressed.
inline bool Clicked(uint32_t events) {
  return (events & KV_GUI::EVENT_OVER) && (events & KV_GUI::EVENT_MOUSE_PRESSED);
}
// Sends bit to target through the manager (added when the target is Active, its Events
// cleared afterwards); nothing without a target or a manager.
void Notify(KV_GUI* gui, KV_GUI::CONTROL* target, uint32_t bit);
// Sets Active and Visible of control to value; nothing for null.
void Show(KV_GUI::CONTROL* control, unsigned char value);

}  // namespace KvCore::widgets
