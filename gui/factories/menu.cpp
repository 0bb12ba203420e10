// The menu factories: a menu button with its closed list, and a sub-menu appended to a menu's
// list as an entry that opens a list of its own.
#include "gui/composite.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;

KV_GUI::CONTROL* KV_GUI::CreateMenu(const char* skin, const char* name, KV_VECTOR position,
                                    KV_VECTOR size, const char* text, KV_HANDLE icon,
                                    uint32_t listDock, CONTROL* parent) {
  (void)icon;  // a menu button shows no icon
  Com::C_GUI_CONTROL* outer = AttachPlaced<Com::C_GUI_CONTROL>(*this, parent, position, size);
  if (outer == nullptr) return nullptr;
  // The list opens outside the button: nothing of the menu may clip it.
  outer->CutArea = 0;
  Skin(*this, outer, skin, "AreaActive", "AreaUnactive");
  SetText(outer, text);
  outer->SetTag("menubutton");

  __menu* button = AttachPart(*this, new __menu(), outer, outer);
  if (button == nullptr) return nullptr;
  button->SetTag("menu");
  button->CutArea = 0;
  button->Behaviour = INHERIT_SIZE;

  __menu* list = AttachPart(*this, new __menu(), button, outer);
  if (list == nullptr) return nullptr;
  list->SetTag("menulist");
  list->CutArea = 0;
  Skin(*this, list, skin, "ListArea", "ListArea");
  if (IsListDock(listDock)) list->Behaviour = listDock;
  // The list starts closed.
  list->Visible = 0;
  list->Active = 0;
  File(*this, name, outer);
  return outer;
}

KV_GUI::CONTROL* KV_GUI::CreateSubMenu(CONTROL* menu, const char* skin, KV_VECTOR size,
                                       const char* text, KV_HANDLE icon, uint32_t listDock) {
  CONTROL* list = MenuList(menu);
  if (list == nullptr) return nullptr;
  float y = RelayMenu(list, size.x);
  list->Size = KV_VECTOR(size.x, y + size.y, 0, 1);
  CONTROL* sub = CreateMenu(skin, nullptr, KV_VECTOR(0, y, 0, 1), size, text, icon, listDock, list);
  if (sub == nullptr) return nullptr;
  sub->SetTag("menuitem");
  return sub;
}

}  // namespace KvCore
