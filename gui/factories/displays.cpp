// The factories of the composites that only show something: a static text, a progress bar
// (a bar inside a border) and a group frame with a title.
#include "gui/composite.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;

KV_GUI::CONTROL* KV_GUI::CreateStatic(const char* skin, const char* name, const char* text,
                                      KV_VECTOR position, KV_VECTOR size, CONTROL* parent) {
  Com::C_GUI_CONTROL* label = AttachPlaced<Com::C_GUI_CONTROL>(*this, parent, position, size);
  if (label == nullptr) return nullptr;
  Skin(*this, label, skin, "AreaActive", "AreaUnactive");
  SetText(label, text);
  File(*this, name, label);
  return label;
}

KV_GUI::CONTROL* KV_GUI::CreateProgressBar(const char* skin, const char* name, KV_VECTOR position,
                                           KV_VECTOR size, float borderTop, float borderBottom,
                                           float borderLeft, float borderRight, CONTROL* parent) {
  Com::C_GUI_CONTROL* outer = AttachPlaced<Com::C_GUI_CONTROL>(*this, parent, position, size);
  if (outer == nullptr) return nullptr;
  Skin(*this, outer, skin, "Area", "Area");
  outer->CutMarginTop = borderTop;
  outer->CutMarginBottom = borderBottom;
  outer->CutMarginLeft = borderLeft;
  outer->CutMarginRight = borderRight;
  __default* bar = AttachPart(*this, new __default(), outer, outer);
  if (bar == nullptr) return nullptr;
  bar->Position = KV_VECTOR(borderLeft, 0, 0, 1);
  bar->MarginTop = borderTop;
  bar->MarginBottom = borderBottom;
  Skin(*this, bar, skin, "BarActive", "BarUnactive");
  bar->Behaviour = INHERIT_HEIGHT;
  bar->Hitable = 0;
  File(*this, name, outer);
  return outer;
}

KV_GUI::CONTROL* KV_GUI::CreateGroup(const char* skin, const char* name, KV_VECTOR position,
                                     KV_VECTOR size, const char* title, CONTROL* parent) {
  __default* group = AttachPlaced<__default>(*this, parent, position, size);
  if (group == nullptr) return nullptr;
  Skin(*this, group, skin, "Area", "Area");
  SetText(group, title);
  File(*this, name, group);
  return group;
}

}  // namespace KvCore
