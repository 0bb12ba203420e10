// The slider factory: an outer control, a bar that runs the drag (horizontal when narrower
// than wide, else vertical) and a square thumb.
#include <algorithm>

#include "gui/composite.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;

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

}  // namespace KvCore
