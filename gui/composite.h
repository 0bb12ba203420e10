// Helpers of the control factories and the per-control API: attaching a freshly made part
// (freed again when the tree refuses it), skinning a part from two named skin parts, filing a
// composite by name, the list docking of menus and combo boxes, and finding a composite's
// item container by tree position and part name.
// Every finder gives null where the expected shape is missing, so an operation handed a
// control of the wrong kind fails instead of following a missing link.
#pragma once

#include <cstdint>

#include "foundation/list.h"
#include "gui/gui.h"

namespace KvCore::composite {

typedef KV_GUI::CONTROL CONTROL;

// Puts control under parent (top level for null) and returns it; deletes it and returns null
// when the tree refuses it, so a failed attach leaks nothing.
template <class T>
T* AttachNew(KV_GUI& gui, T* control, CONTROL* parent) {
  if (gui.AddControl(control, parent) == nullptr) {
    delete control;
    return nullptr;
  }
  return control;
}

// Attaches part under parent as AttachNew does; when the tree refuses it, also removes whole,
// the composite being built, so a failed build leaves nothing behind. Null on refusal.
template <class T>
T* AttachPart(KV_GUI& gui, T* part, CONTROL* parent, CONTROL* whole) {
  T* attached = AttachNew(gui, part, parent);
  if (attached == nullptr) gui.RemoveControl(whole);
  return attached;
}

// Attaches a new T under parent (top level for null) at position with size and returns it;
// null, leaving nothing behind, when the tree refuses it.
template <class T>
T* AttachPlaced(KV_GUI& gui, CONTROL* parent, KV_VECTOR position, KV_VECTOR size) {
  T* control = AttachNew(gui, new T(), parent);
  if (control == nullptr) return nullptr;
  control->Position = position;
  control->Size = size;
  return control;
}

// StyleActive := the skin's part active, StyleUnactive := its part unactive.
void Skin(KV_GUI& gui, CONTROL* control, const char* skin, const char* active,
          const char* unactive);
// Files control under name in the manager's controls-by-name; nothing for a null name.
void File(KV_GUI& gui, const char* name, CONTROL* control);
// control's Text := text; empty for null.
void SetText(CONTROL* control, const char* text);
// The child at index (from 0) in tree order; null when there is none.
CONTROL* ChildAt(const CONTROL* control, int32_t index);
// Number of children; 0 for null.
int32_t ChildCount(const CONTROL* control);
// Appends every child of control, in tree order, to out.
void Children(const CONTROL* control, KV_LIST<CONTROL*>& out);
// Re-lays the items of container top to bottom from y 0; returns the y below the last.
float Relay(const CONTROL* container);
// Re-lays a menu list's entries as Relay does, giving each the width; returns the y below.
float RelayMenu(const CONTROL* list, float width);
// Rebuilds an edit field's shown text without caret: one "*" per character when masked,
// else TextLeft + TextRight.
void ShowEditText(KV_GUI::__edit& edit);
// Whether dock is a list docking that menus and combo boxes take: any layout flag value from
// the top edge up to the middle; other values keep the list's default placement.
bool IsListDock(uint32_t dock);
// The items of a combo box: "comboboxm" > list area > content "comboboxl"; null otherwise.
CONTROL* ComboItems(const CONTROL* comboBox);
// The list of a menu: "menu" > "menulist"; null otherwise.
CONTROL* MenuList(const CONTROL* menu);

}  // namespace KvCore::composite
