// Helpers of the control factories and the per-control API.
#include "gui/composite.h"

#include "gui/widgets/edit.h"
#include "gui/widgets/parts.h"

namespace KvCore::composite {

using widgets::FirstChild;
using widgets::HasPart;

void Skin(KV_GUI& gui, CONTROL* control, const char* skin, const char* active,
          const char* unactive) {
  control->StyleActive = gui.ResolveStyle(skin, active);
  control->StyleUnactive = gui.ResolveStyle(skin, unactive);
}

void File(KV_GUI& gui, const char* name, CONTROL* control) {
  if (name == nullptr) return;
  // A name too long for a key files nothing rather than failing the built composite.
  CONTROL** slot = gui.controls.GetValue(name);
  if (slot != nullptr) *slot = control;
}

void SetText(CONTROL* control, const char* text) {
  control->Text.Assign(text != nullptr ? text : "");
}

CONTROL* ChildAt(const CONTROL* control, int32_t index) {
  if (control == nullptr || control->node == nullptr || index < 0) return nullptr;
  KV_GUI::NODE::ITERATOR it = control->node->Begin();
  for (int32_t i = 0; i < index && !it.IsEnd(); ++i) it.Next();
  return it.IsEnd() ? nullptr : it->value.Get();
}

int32_t ChildCount(const CONTROL* control) {
  if (control == nullptr || control->node == nullptr) return 0;
  return (int32_t)control->node->Count();
}

void Children(const CONTROL* control, KV_LIST<CONTROL*>& out) {
  if (control == nullptr || control->node == nullptr) return;
  for (KV_GUI::NODE::ITERATOR it = control->node->Begin(); !it.IsEnd(); it.Next())
    out.PushBack(it->value.Get());
}

float Relay(const CONTROL* container) {
  float y = 0;
  KV_LIST<CONTROL*> items;
  Children(container, items);
  for (KV_LIST_ITERATOR<CONTROL*> it = items.Begin(); !it.IsEnd(); it.Next()) {
    CONTROL* item = *it;
    item->Position = KV_VECTOR(0, y, 0, 1);
    y += item->Size.y;
  }
  return y;
}

float RelayMenu(const CONTROL* list, float width) {
  KV_LIST<CONTROL*> entries;
  Children(list, entries);
  for (KV_LIST_ITERATOR<CONTROL*> it = entries.Begin(); !it.IsEnd(); it.Next())
    (*it)->Size.x = width;
  return Relay(list);
}

void ShowEditText(KV_GUI::__edit& edit) {
  if (!edit.Masked) {
    edit.Text.Format("%s%s", edit.TextLeft.c_str(), edit.TextRight.c_str());
    return;
  }
  KV_STRING stars;
  unsigned int count = edit.TextLeft.Length() + edit.TextRight.Length();
  for (unsigned int i = 0; i < count; ++i) stars += "*";
  edit.Text = stars;
}

// One past the highest docking flag: the list dockings run from the top edge up to here.
constexpr uint32_t kDockingEnd = KV_GUI::DOCK_TO_MIDDLE << 1;

bool IsListDock(uint32_t dock) { return dock >= KV_GUI::DOCK_TO_EDGE_TOP && dock < kDockingEnd; }

CONTROL* ComboItems(const CONTROL* comboBox) {
  CONTROL* box = FirstChild(comboBox);
  if (!HasPart(box, "comboboxm")) return nullptr;
  CONTROL* items = FirstChild(FirstChild(box));
  return HasPart(items, "comboboxl") ? items : nullptr;
}

CONTROL* MenuList(const CONTROL* menu) {
  CONTROL* button = FirstChild(menu);
  if (!HasPart(button, "menu")) return nullptr;
  CONTROL* list = FirstChild(button);
  return HasPart(list, "menulist") ? list : nullptr;
}

}  // namespace KvCore::composite
