// The button composite's inner part: clicks, entering and leaving go to the outer button,
// whose look follows the pointer.
#include "gui/widgets/button.h"

#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

KV_GUI::__button::__button() {}

KV_GUI::__button::~__button() {}

void KV_GUI::__button::OnEvent() {
  CONTROL* outer = Ancestor(this, 1);
  // Read once: a notification may run code that changes this control.
  uint32_t events = Events;
  if (Clicked(events)) Notify(owner, outer, BUTTON_CLICKED);
  if (events & EVENT_ENTERED) {
    if (outer != nullptr) outer->StyleActive = StyleOver;
    Notify(owner, outer, BUTTON_ENTERED);
  }
  if (events & EVENT_LEFT) {
    if (outer != nullptr) outer->StyleActive = StyleNormal;
    Notify(owner, outer, BUTTON_LEFT);
  }
}

}  // namespace KvCore
