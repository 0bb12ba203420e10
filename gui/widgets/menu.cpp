// The menu's parts: the button area opens the list on a press; the list stays open while the
// pointer is inside it, its button area or a sub-menu, and closes on a press held outside.
#include "gui/widgets/menu.h"

#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

namespace {

void OnMenuButton(KV_GUI::__menu& menu) {
  KV_GUI::CONTROL* outer = Ancestor(&menu, 1);
  uint32_t events = menu.Events;
  if (events & KV_GUI::EVENT_ENTERED) Notify(menu.owner, outer, KV_GUI::MENU_ENTERED);
  if (events & KV_GUI::EVENT_LEFT) Notify(menu.owner, outer, KV_GUI::MENU_LEFT);
  if (events & KV_GUI::EVENT_MOUSE_PRESSED) {
    Show(FirstChild(&menu), 1);
    Notify(menu.owner, outer, KV_GUI::MENU_PRESSED);
  }
}

void OnMenuList(KV_GUI::__menu& list) {
  KV_GUI::CONTROL* menu = Ancestor(&list, 1);
  uint32_t events = list.Events;
  uint32_t menuEvents = menu != nullptr ? menu->Events : 0;
  if (events & KV_GUI::EVENT_OVER) Show(&list, 1);
  // Inside a sub-menu: the list that holds it stays open too, and hears it, so that its own
  // enclosing lists stay open in turn.
  if ((events & KV_GUI::EVENT_OVER) || (menuEvents & KV_GUI::EVENT_OVER)) {
    if (HasPart(Ancestor(&list, 2), "menuitem")) {
      KV_GUI::CONTROL* holder = Ancestor(&list, 3);
      Show(holder, 1);
      Notify(list.owner, holder, KV_GUI::EVENT_OVER);
    }
  }
  if ((events & KV_GUI::EVENT_MOUSE_DOWN) && !(events & KV_GUI::EVENT_OVER) &&
      (menuEvents & KV_GUI::EVENT_OUTSIDE))
    Show(&list, 0);
}

}  // namespace

KV_GUI::__menu::__menu() {}

KV_GUI::__menu::~__menu() {}

void KV_GUI::__menu::OnEvent() {
  KV_STRING part = GetTag();
  if (part == "menu")
    OnMenuButton(*this);
  else if (part == "menulist")
    OnMenuList(*this);
}

}  // namespace KvCore
