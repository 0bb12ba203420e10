// The combo box's parts: the box area opens the item list on a press; the list's content keeps
// the list open while the pointer is in it and closes it on a press outside both.
#include "gui/widgets/combo.h"

#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

namespace {

void OnBox(KV_GUI::__combo& box) {
  KV_GUI::CONTROL* outer = Ancestor(&box, 1);
  uint32_t events = box.Events;
  if (events & KV_GUI::EVENT_ENTERED) Notify(box.owner, outer, KV_GUI::COMBO_ENTERED);
  if (events & KV_GUI::EVENT_LEFT) Notify(box.owner, outer, KV_GUI::COMBO_LEFT);
  if (events & KV_GUI::EVENT_MOUSE_PRESSED) {
    Show(FirstChild(&box), 1);
    Notify(box.owner, outer, KV_GUI::COMBO_PRESSED);
  }
}

void OnList(KV_GUI::__combo& content) {
  KV_GUI::CONTROL* list = Ancestor(&content, 1);
  KV_GUI::CONTROL* box = Ancestor(&content, 2);
  if (list == nullptr) return;
  if (list->Events & KV_GUI::EVENT_OVER) Show(list, 1);
  if ((list->Events & KV_GUI::EVENT_MOUSE_DOWN) && (list->Events & KV_GUI::EVENT_OUTSIDE) &&
      box != nullptr && (box->Events & KV_GUI::EVENT_OUTSIDE))
    Show(list, 0);
}

}  // namespace

KV_GUI::__combo::__combo() : SelectedItem(nullptr) {}

KV_GUI::__combo::~__combo() {}

void KV_GUI::__combo::OnEvent() {
  KV_STRING part = GetTag();
  if (part == "comboboxm")
    OnBox(*this);
  else if (part == "comboboxl")
    OnList(*this);
}

}  // namespace KvCore
