// The items of list boxes, check boxes, option boxes, combo boxes and menus: adding one below
// the others, removing by index or all at once (at once, through the manager's immediate
// removal), counting and listing them in child order. Every operation first finds the item
// container by the composite's part names and fails for a null control or another kind.
#include <algorithm>

#include "gui/composite.h"
#include "gui/widgets/parts.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;
using widgets::FirstChild;
using widgets::HasPart;

namespace {

// The item container of a composite whose registered control holds its items and carries
// the tag: the control itself, or null for another kind.
CONTROL* Tagged(CONTROL* control, const char* tag) {
  return HasPart(control, tag) ? control : nullptr;
}

// Places each row's check centred in an h by h square at the row's left.
void PlaceChecks(CONTROL* box, float h) {
  KV_LIST<CONTROL*> rows;
  Children(box, rows);
  for (KV_LIST_ITERATOR<CONTROL*> it = rows.Begin(); !it.IsEnd(); it.Next()) {
    CONTROL* check = FirstChild(*it);
    if (check == nullptr) continue;
    check->Position = KV_VECTOR(std::max(0.0f, h * 0.5f - check->Size.x * 0.5f),
                                h * 0.5f - check->Size.y * 0.5f, 0, 1);
  }
}

// Gives a check or option mark its place, size and the six looks of its two states.
template <class MARK>
void DressMark(KV_GUI& gui, MARK* mark, const char* skin, float h, KV_VECTOR size) {
  mark->Position =
      KV_VECTOR(std::max(0.0f, h * 0.5f - size.x * 0.5f), h * 0.5f - size.y * 0.5f, 0, 1);
  mark->Size = size;
  Skin(gui, mark, skin, "CellActiveOff", "CellUnactiveOff");
  mark->StyleActiveOn = gui.ResolveStyle(skin, "CellActiveOn");
  mark->StyleUnactiveOn = gui.ResolveStyle(skin, "CellUnactiveOn");
  mark->StyleActiveOff = gui.ResolveStyle(skin, "CellActiveOff");
  mark->StyleUnactiveOff = gui.ResolveStyle(skin, "CellUnactiveOff");
}

// A row of a check or option box holding its mark; null, leaving no row, when either part
// is refused.
template <class MARK>
CONTROL* AddTickRow(KV_GUI& gui, CONTROL* box, const char* skin, const char* text, float h,
                    KV_VECTOR size) {
  PlaceChecks(box, h);
  float y = Relay(box);
  KV_GUI::__default* row = AttachNew(gui, new KV_GUI::__default(), box);
  if (row == nullptr) return nullptr;
  row->Behaviour = KV_GUI::FIT_TO_EDGE_LEFT | KV_GUI::FIT_TO_EDGE_RIGHT;
  row->Position = KV_VECTOR(0, y, 0, 1);
  row->Size.y = h;
  Skin(gui, row, skin, "CellActive", "CellUnactive");
  SetText(row, text);
  MARK* mark = AttachNew(gui, new MARK(), row);
  if (mark == nullptr) {
    gui.RemoveControl(row);
    return nullptr;
  }
  DressMark(gui, mark, skin, h, size);
  return row;
}

// A share of control that keeps it alive while handlers run (an edit box inside a removed item
// ends its editing, and its handler may remove more); an empty share for a detached control.
KV_SHARED<CONTROL> Hold(const CONTROL* control) {
  if (control == nullptr || control->node == nullptr) return KV_SHARED<CONTROL>(nullptr);
  return control->node->value;
}

// Removes the item at index of container at once and re-lays the rest, unless a handler heard
// on the way removed the container too.
bool RemoveAt(KV_GUI& gui, CONTROL* container, int32_t index) {
  CONTROL* item = ChildAt(container, index);
  if (item == nullptr) return false;
  KV_SHARED<CONTROL> keep = Hold(container);
  if (!gui.RemoveControl(item)) return false;
  if (container->node != nullptr) Relay(container);
  return true;
}

// Removes every item of container at once; an item that a handler removed meanwhile is skipped.
bool RemoveAll(KV_GUI& gui, CONTROL* container) {
  if (container == nullptr) return false;
  KV_LIST<KV_SHARED<CONTROL>> items;
  if (container->node != nullptr)
    for (KV_GUI::NODE::ITERATOR it = container->node->Begin(); !it.IsEnd(); it.Next())
      items.PushBack(it->value);
  for (KV_LIST_ITERATOR<KV_SHARED<CONTROL>> it = items.Begin(); !it.IsEnd(); it.Next())
    if (it->Get() != nullptr && it->Get()->node != nullptr) gui.RemoveControl(it->Get());
  return true;
}

bool List(CONTROL* container, KV_LIST<CONTROL*>& out) {
  if (container == nullptr) return false;
  out.Clear();
  Children(container, out);
  return true;
}

// out := the items of container for which keep(item) holds, in child order.
template <class KEEP>
bool ListWhere(CONTROL* container, KV_LIST<CONTROL*>& out, KEEP keep) {
  if (container == nullptr) return false;
  out.Clear();
  KV_LIST<CONTROL*> items;
  Children(container, items);
  for (KV_LIST_ITERATOR<CONTROL*> it = items.Begin(); !it.IsEnd(); it.Next())
    if (keep(*it)) out.PushBack(*it);
  return true;
}

// Whether the row's mark (its first child) is a MARK that is checked.
template <class MARK>
bool MarkChecked(CONTROL* row) {
  MARK* mark = dynamic_cast<MARK*>(FirstChild(row));
  return mark != nullptr && mark->Checked;
}

bool ListItemSelected(CONTROL* item) {
  KV_GUI::__list* entry = dynamic_cast<KV_GUI::__list*>(item);
  return entry != nullptr && entry->Selected;
}

// Drops a combo list's selection when it was the removed item (null: any item), so that no
// pointer to a freed item is handed out.
void ForgetSelection(CONTROL* items, CONTROL* removed) {
  KV_GUI::__combo* list = dynamic_cast<KV_GUI::__combo*>(items);
  if (list == nullptr) return;
  if (removed == nullptr || list->SelectedItem == removed) list->SelectedItem = nullptr;
}

}  // namespace

// ---- adders ----

KV_GUI::CONTROL* KV_GUI::ListBoxAddItem(const char* skin, const char* text, float height,
                                        CONTROL* listBox) {
  CONTROL* box = Tagged(listBox, "listbox");
  if (box == nullptr) return nullptr;
  float y = Relay(box);
  __list* item = AttachNew(*this, new __list(), box);
  if (item == nullptr) return nullptr;
  item->Behaviour = FIT_TO_EDGE_LEFT | FIT_TO_EDGE_RIGHT;
  item->Position = KV_VECTOR(0, y, 0, 1);
  item->Size.y = height;
  Skin(*this, item, skin, "CellActive", "CellUnactive");
  item->StyleOver = ResolveStyle(skin, "CellOver");
  item->StyleSelected = ResolveStyle(skin, "CellSelected");
  item->StyleNormal = ResolveStyle(skin, "CellActive");
  SetText(item, text);
  ScrollSetContentSize(box, 0, y + height);
  return item;
}

KV_GUI::CONTROL* KV_GUI::CheckBoxAddItem(const char* skin, const char* text, float height,
                                         KV_VECTOR checkSize, CONTROL* checkBox) {
  CONTROL* box = Tagged(checkBox, "checkbox");
  if (box == nullptr) return nullptr;
  return AddTickRow<__check>(*this, box, skin, text, height, checkSize);
}

KV_GUI::CONTROL* KV_GUI::OptionBoxAddItem(const char* skin, const char* text, float height,
                                          KV_VECTOR checkSize, CONTROL* optionBox) {
  CONTROL* box = Tagged(optionBox, "optionbox");
  if (box == nullptr) return nullptr;
  return AddTickRow<__option>(*this, box, skin, text, height, checkSize);
}

KV_GUI::CONTROL* KV_GUI::ComboBoxAddItem(const char* skin, const char* text, float height,
                                         CONTROL* comboBox) {
  CONTROL* items = ComboItems(comboBox);
  if (items == nullptr) return nullptr;
  float y = Relay(items);
  __comboitem* item = AttachNew(*this, new __comboitem(), items);
  if (item == nullptr) return nullptr;
  item->Behaviour = FIT_TO_EDGE_LEFT | FIT_TO_EDGE_RIGHT;
  item->Position = KV_VECTOR(0, y, 0, 1);
  item->Size.y = height;
  // Themes name the combo items' disabled look "CellIUnactive".
  Skin(*this, item, skin, "CellActive", "CellIUnactive");
  item->StyleOver = ResolveStyle(skin, "CellOver");
  item->StyleNormal = ResolveStyle(skin, "CellActive");
  SetText(item, text);
  ScrollSetContentSize(items, 0, y + height);
  return item;
}

KV_GUI::CONTROL* KV_GUI::MenuAddItem(CONTROL* menu, const char* skin, KV_VECTOR size,
                                     const char* text, KV_HANDLE icon) {
  CONTROL* list = MenuList(menu);
  if (list == nullptr) return nullptr;
  float y = RelayMenu(list, size.x);
  list->Size = KV_VECTOR(size.x, y + size.y, 0, 1);
  return CreateButton(skin, nullptr, text, KV_VECTOR(0, y, 0, 1), size, icon, list);
}

// ---- removal ----

bool KV_GUI::ListBoxRemoveItem(CONTROL* listBox, int32_t index) {
  return RemoveAt(*this, Tagged(listBox, "listbox"), index);
}

bool KV_GUI::CheckBoxRemoveItem(CONTROL* checkBox, int32_t index) {
  return RemoveAt(*this, Tagged(checkBox, "checkbox"), index);
}

bool KV_GUI::OptionBoxRemoveItem(CONTROL* optionBox, int32_t index) {
  return RemoveAt(*this, Tagged(optionBox, "optionbox"), index);
}

bool KV_GUI::ComboBoxRemoveItem(CONTROL* comboBox, int32_t index) {
  CONTROL* items = ComboItems(comboBox);
  KV_SHARED<CONTROL> keep = Hold(items);
  CONTROL* item = ChildAt(items, index);
  if (!RemoveAt(*this, items, index)) return false;
  ForgetSelection(items, item);
  return true;
}

bool KV_GUI::ListBoxClear(CONTROL* listBox) { return RemoveAll(*this, Tagged(listBox, "listbox")); }

bool KV_GUI::CheckBoxClear(CONTROL* checkBox) {
  return RemoveAll(*this, Tagged(checkBox, "checkbox"));
}

bool KV_GUI::OptionBoxClear(CONTROL* optionBox) {
  return RemoveAll(*this, Tagged(optionBox, "optionbox"));
}

bool KV_GUI::ComboBoxClear(CONTROL* comboBox) {
  CONTROL* items = ComboItems(comboBox);
  KV_SHARED<CONTROL> keep = Hold(items);
  if (!RemoveAll(*this, items)) return false;
  ForgetSelection(items, nullptr);
  return true;
}

// ---- counting and listing ----

int32_t KV_GUI::ListBoxGetCount(CONTROL* listBox) { return ChildCount(Tagged(listBox, "listbox")); }

int32_t KV_GUI::CheckBoxGetCount(CONTROL* checkBox) {
  return ChildCount(Tagged(checkBox, "checkbox"));
}

int32_t KV_GUI::OptionBoxGetCount(CONTROL* optionBox) {
  return ChildCount(Tagged(optionBox, "optionbox"));
}

int32_t KV_GUI::ComboBoxGetCount(CONTROL* comboBox) { return ChildCount(ComboItems(comboBox)); }

bool KV_GUI::ListBoxGetItems(CONTROL* listBox, KV_LIST<CONTROL*>& out) {
  return List(Tagged(listBox, "listbox"), out);
}

bool KV_GUI::CheckBoxGetItems(CONTROL* checkBox, KV_LIST<CONTROL*>& out) {
  return List(Tagged(checkBox, "checkbox"), out);
}

bool KV_GUI::OptionBoxGetItems(CONTROL* optionBox, KV_LIST<CONTROL*>& out) {
  return List(Tagged(optionBox, "optionbox"), out);
}

bool KV_GUI::ComboBoxGetItems(CONTROL* comboBox, KV_LIST<CONTROL*>& out) {
  return List(ComboItems(comboBox), out);
}

bool KV_GUI::ListBoxGetSelected(CONTROL* listBox, KV_LIST<CONTROL*>& out) {
  return ListWhere(Tagged(listBox, "listbox"), out, ListItemSelected);
}

bool KV_GUI::ListBoxGetUnselected(CONTROL* listBox, KV_LIST<CONTROL*>& out) {
  return ListWhere(Tagged(listBox, "listbox"), out,
                   [](CONTROL* item) { return !ListItemSelected(item); });
}

bool KV_GUI::CheckBoxGetChecked(CONTROL* checkBox, KV_LIST<CONTROL*>& out) {
  return ListWhere(Tagged(checkBox, "checkbox"), out, MarkChecked<__check>);
}

bool KV_GUI::CheckBoxGetUnchecked(CONTROL* checkBox, KV_LIST<CONTROL*>& out) {
  return ListWhere(Tagged(checkBox, "checkbox"), out,
                   [](CONTROL* row) { return !MarkChecked<__check>(row); });
}

bool KV_GUI::OptionBoxGetUnselected(CONTROL* optionBox, KV_LIST<CONTROL*>& out) {
  return ListWhere(Tagged(optionBox, "optionbox"), out,
                   [](CONTROL* row) { return !MarkChecked<__option>(row); });
}

KV_GUI::CONTROL* KV_GUI::OptionBoxGetSelected(CONTROL* optionBox) {
  KV_LIST<CONTROL*> rows;
  Children(Tagged(optionBox, "optionbox"), rows);
  for (KV_LIST_ITERATOR<CONTROL*> it = rows.Begin(); !it.IsEnd(); it.Next())
    if (MarkChecked<__option>(*it)) return *it;
  return nullptr;
}

KV_GUI::CONTROL* KV_GUI::ComboBoxGetSelected(CONTROL* comboBox) {
  __combo* items = dynamic_cast<__combo*>(ComboItems(comboBox));
  if (items == nullptr) return nullptr;
  // An item that left the list by any other way is no longer a selection.
  if (!items->Contains(items->SelectedItem)) items->SelectedItem = nullptr;
  return items->SelectedItem;
}

}  // namespace KvCore
