// Helpers shared by the widget classes: tree links that tolerate missing parts, part names
// and notifications.
#include "gui/widgets/parts.h"

#include <cstring>

namespace KvCore::widgets {

KV_GUI::CONTROL* Ancestor(const KV_GUI::CONTROL* control, int levels) {
  const KV_GUI::CONTROL* current = control;
  for (int i = 0; i < levels && current != nullptr; ++i) current = current->GetParent();
  if (current == nullptr || current == control) return nullptr;
  // The root control belongs to the manager, not to any composite.
  if (current->owner != nullptr && current == current->owner->GetRoot()) return nullptr;
  return const_cast<KV_GUI::CONTROL*>(current);
}

KV_GUI::CONTROL* FirstChild(const KV_GUI::CONTROL* control) {
  if (control == nullptr || control->node == nullptr) return nullptr;
  KV_GUI::NODE::ITERATOR first = control->node->Begin();
  if (first.IsEnd()) return nullptr;
  return first->value.Get();
}

bool HasPart(const KV_GUI::CONTROL* control, const char* part) {
  if (control == nullptr) return false;
  return std::strcmp(control->GetTag().c_str(), part) == 0;
}

void Notify(KV_GUI* gui, KV_GUI::CONTROL* target, uint32_t bit) {
  if (gui == nullptr || target == nullptr) return;
  gui->SendEvent(target, bit, KV_GUI::SEND_ADD_BITS, KV_GUI::SEND_ANY_TARGET,
                 KV_GUI::SEND_CLEAR_EVENTS);
}

void Show(KV_GUI::CONTROL* control, unsigned char value) {
  if (control == nullptr) return;
  control->Active = value;
  control->Visible = value;
}

}  // namespace KvCore::widgets
