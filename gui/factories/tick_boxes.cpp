// The factories of check boxes and option boxes: one application control whose border grows
// its height; the rows (each holding its mark) come from the item adders.
#include "gui/composite.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;

namespace {

// A check or option box: one application control whose rows sit inside the border.
CONTROL* BuildTickBox(KV_GUI& gui, const char* skin, const char* name, const char* tag,
                      KV_VECTOR position, KV_VECTOR size, const float border[4], CONTROL* parent) {
  Com::C_GUI_CONTROL* box = AttachPlaced<Com::C_GUI_CONTROL>(gui, parent, position, size);
  if (box == nullptr) return nullptr;
  box->Size.y += border[0] + border[1];
  Skin(gui, box, skin, "Area", "Area");
  box->CutMarginTop = border[0];
  box->CutMarginBottom = border[1];
  box->CutMarginLeft = border[2];
  box->CutMarginRight = border[3];
  box->ChildOffset.x += border[2];
  box->ChildOffset.y += border[0];
  box->SetTag(tag);
  File(gui, name, box);
  return box;
}

}  // namespace

KV_GUI::CONTROL* KV_GUI::CreateCheckBox(const char* skin, const char* name, KV_VECTOR position,
                                        KV_VECTOR size, float borderTop, float borderBottom,
                                        float borderLeft, float borderRight, CONTROL* parent) {
  const float border[4] = {borderTop, borderBottom, borderLeft, borderRight};
  return BuildTickBox(*this, skin, name, "checkbox", position, size, border, parent);
}

KV_GUI::CONTROL* KV_GUI::CreateOptionBox(const char* skin, const char* name, KV_VECTOR position,
                                         KV_VECTOR size, float borderTop, float borderBottom,
                                         float borderLeft, float borderRight, CONTROL* parent) {
  const float border[4] = {borderTop, borderBottom, borderLeft, borderRight};
  return BuildTickBox(*this, skin, name, "optionbox", position, size, border, parent);
}

}  // namespace KvCore
