// The combo box factory: an outer control, the box part that opens the item list, the list (a
// scroll plane built by CreateComboList, closed at first) and the arrow icon.
#include "gui/composite.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;

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
