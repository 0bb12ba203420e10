// The factories of the composites that take input beyond a click: slider, menu and sub-menu,
// edit box and combo box. Each builds its parts, marked by their part names, skins them from
// the named skin and files the returned control by name; a composite whose top (or a required
// part) cannot be attached leaves nothing behind.
#include <algorithm>

#include "gui/composite.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;

namespace {

// A list may be docked by any flag from the top edge up to the right-inside edge; other
// values keep the list's default placement.
bool IsListDock(uint32_t dock) { return dock >= KV_GUI::DOCK_TO_EDGE_TOP && dock < 0x4000; }

}  // namespace

KV_GUI::CONTROL* KV_GUI::CreateSlider(const char* skin, const char* name, KV_VECTOR position,
                                      KV_VECTOR size, CONTROL* parent) {
  Com::C_GUI_CONTROL* outer = AttachPlaced<Com::C_GUI_CONTROL>(*this, parent, position, size);
  if (outer == nullptr) return nullptr;
  Skin(*this, outer, skin, "Area", "Area");
  outer->SetTag("slider");

  __slider* bar = AttachPart(*this, new __slider(), outer, outer);
  if (bar == nullptr) return nullptr;
  bar->Behaviour = INHERIT_SIZE;
  // A square slider counts as vertical.
  bool horizontal = size.y < size.x;
  if (horizontal) {
    bar->SetTag("hbar");
    Skin(*this, bar, skin, "BarH", "BarH");
  } else {
    bar->SetTag("vbar");
    // Themes name the vertical bar's active look "Barv".
    Skin(*this, bar, skin, "Barv", "BarV");
  }

  __default* thumb = AttachPart(*this, new __default(), bar, outer);
  if (thumb == nullptr) return nullptr;
  float side = std::min(size.x, size.y);
  thumb->Size = KV_VECTOR(side, side, 0, 1);
  thumb->Position = KV_VECTOR(size.x * 0.5f - side * 0.5f, 0, 0, 1);
  Skin(*this, thumb, skin, "DragActive", "DragUnactive");
  thumb->Behaviour = horizontal ? DOCK_TO_MIDDLE : DOCK_TO_CENTER;
  // A press on the thumb must hit the bar, which runs the drag.
  thumb->Hitable = 0;
  File(*this, name, outer);
  return outer;
}

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

KV_GUI::CONTROL* KV_GUI::CreateEditBox(const char* skin, const char* name, KV_VECTOR position,
                                       KV_VECTOR size, const char* text, unsigned char password,
                                       CONTROL* parent) {
  Com::C_GUI_CONTROL* outer = AttachPlaced<Com::C_GUI_CONTROL>(*this, parent, position, size);
  if (outer == nullptr) return nullptr;
  Skin(*this, outer, skin, "AreaActive", "AreaUnactive");

  __edit* field = AttachPart(*this, new __edit(), outer, outer);
  if (field == nullptr) return nullptr;
  field->SetTag("editbox");
  field->Behaviour = INHERIT_SIZE;
  Skin(*this, field, skin, "BoxActive", "BoxUnactive");
  field->TextLeft.Assign(text != nullptr ? text : "");
  field->Masked = password;
  ShowEditText(*field);
  File(*this, name, outer);
  return outer;
}

KV_GUI::CONTROL* KV_GUI::CreateComboBox(const char* skin, const char* name, KV_VECTOR position,
                                        KV_VECTOR size, KV_VECTOR listSize, float barWidth,
                                        const char* text, uint32_t listDock, float marginTop,
                                        float marginBottom, float marginLeft, float marginRight,
                                        CONTROL* parent) {
  Com::C_GUI_CONTROL* outer = AttachPlaced<Com::C_GUI_CONTROL>(*this, parent, position, size);
  if (outer == nullptr) return nullptr;
  // The list opens outside the box: nothing of the combo box may clip it.
  outer->CutArea = 0;
  Skin(*this, outer, skin, "ButtonActive", "ButtonUnactive");
  SetText(outer, text);

  __combo* box = AttachPart(*this, new __combo(), outer, outer);
  if (box == nullptr) return nullptr;
  box->SetTag("comboboxm");
  box->CutArea = 0;
  box->Behaviour = INHERIT_SIZE;

  CONTROL* items =
      CreateComboList(skin, nullptr, KV_VECTOR(0, 0, 0, 1), listSize, KV_VECTOR(barWidth, 0, 0, 1),
                      KV_VECTOR(0, 0, 0, 1), marginTop, marginBottom, marginLeft, marginRight, box);
  if (items == nullptr) {
    RemoveControl(outer);
    return nullptr;
  }
  items->SetTag("comboboxl");
  CONTROL* list = items->GetParent();
  list->Behaviour = IsListDock(listDock) ? listDock : (uint32_t)DOCK_TO_EDGE_BOTTOM;
  list->Visible = 0;
  list->Active = 0;

  // The arrow icon is decoration: a refused one leaves the combo box whole.
  __default* arrow = AttachNew(*this, new __default(), outer);
  if (arrow != nullptr) {
    arrow->SetTag("comboboxic");
    arrow->Behaviour = DOCK_TO_MIDDLE | DOCK_TO_EDGE_RIGHT_INSIDE;
    Skin(*this, arrow, skin, "IconActive", "IconUnactive");
    arrow->Size = KV_VECTOR(size.y, size.y, 0, 1);
    arrow->Hitable = 0;
    arrow->Order = 1;
  }
  File(*this, name, outer);
  return outer;
}

}  // namespace KvCore
