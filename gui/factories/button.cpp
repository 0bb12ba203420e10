// The button factory: an application control filled by a __button part, which lends it the
// over and normal looks.
#include "gui/composite.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;

KV_GUI::CONTROL* KV_GUI::CreateButton(const char* skin, const char* name, const char* text,
                                      KV_VECTOR position, KV_VECTOR size, KV_HANDLE icon,
                                      CONTROL* parent) {
  Com::C_GUI_CONTROL* outer = AttachPlaced<Com::C_GUI_CONTROL>(*this, parent, position, size);
  if (outer == nullptr) return nullptr;
  Skin(*this, outer, skin, "AreaActive", "AreaUnactive");
  outer->Icon = icon;
  SetText(outer, text);
  __button* inner = AttachPart(*this, new __button(), outer, outer);
  if (inner == nullptr) return nullptr;
  inner->Behaviour = INHERIT_SIZE;
  // The inner part lends these looks to the outer; its own styles stay empty.
  inner->StyleOver = ResolveStyle(skin, "AreaOver");
  inner->StyleNormal = ResolveStyle(skin, "AreaActive");
  File(*this, name, outer);
  return outer;
}

}  // namespace KvCore
