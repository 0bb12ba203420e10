// The factories of scroll planes and of the composites built as one: an area holding the
// content and a horizontal and a vertical bar, each a track with its thumb. A list box is a
// scroll plane with a vertical bar only; a combo box's list is one whose content is a __combo.
#include "gui/composite.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;

namespace {

// The scroll plane and the combo box's list differ only in the content's class.
template <class CONTENT>
CONTROL* BuildScrollPlane(KV_GUI& gui, const char* skin, KV_VECTOR position, KV_VECTOR size,
                          KV_VECTOR bar, KV_VECTOR content, const float margins[4],
                          CONTROL* parent) {
  KV_GUI::__default* area = AttachPlaced<KV_GUI::__default>(gui, parent, position, size);
  if (area == nullptr) return nullptr;
  area->SetTag("scrollarea");
  Skin(gui, area, skin, "Area", "Area");
  area->MarginRight = bar.x;
  area->MarginBottom = bar.y;
  area->CutMarginRight = -bar.x;
  area->CutMarginBottom = -bar.y;

  CONTENT* inner = AttachPart(gui, new CONTENT(), area, area);
  if (inner == nullptr) return nullptr;
  inner->Behaviour = KV_GUI::FIT_TO_EDGE;
  inner->MarginTop = margins[0];
  inner->MarginBottom = margins[1];
  inner->MarginLeft = margins[2];
  inner->MarginRight = margins[3];

  // The bars serve the content but are not required: a refused one is left out.
  KV_GUI::__scroll* track = AttachNew(gui, new KV_GUI::__scroll(), area);
  if (track != nullptr) {
    track->SetTag("hscrollb");
    track->Size.y = bar.y;
    track->Behaviour =
        KV_GUI::DOCK_TO_EDGE_BOTTOM | KV_GUI::FIT_TO_EDGE_LEFT | KV_GUI::FIT_TO_EDGE_RIGHT;
    Skin(gui, track, skin, "BarBackH", "BarBackH");
    KV_GUI::__scroll* thumb = AttachNew(gui, new KV_GUI::__scroll(), track);
    if (thumb != nullptr) {
      thumb->SetTag("hscrollf");
      thumb->ContentExtent = content.x;
      thumb->Behaviour = KV_GUI::INHERIT_HEIGHT;
      Skin(gui, thumb, skin, "BarFrontActiveH", "BarFrontUnactiveH");
    }
  }
  track = AttachNew(gui, new KV_GUI::__scroll(), area);
  if (track != nullptr) {
    track->SetTag("vscrollb");
    track->Size.x = bar.x;
    track->Behaviour =
        KV_GUI::DOCK_TO_EDGE_RIGHT | KV_GUI::FIT_TO_EDGE_TOP | KV_GUI::FIT_TO_EDGE_BOTTOM;
    Skin(gui, track, skin, "BarBackV", "BarBackV");
    KV_GUI::__scroll* thumb = AttachNew(gui, new KV_GUI::__scroll(), track);
    if (thumb != nullptr) {
      thumb->SetTag("vscrollf");
      thumb->ContentExtent = content.y;
      thumb->Behaviour = KV_GUI::INHERIT_WIDTH;
      Skin(gui, thumb, skin, "BarFrontActiveV", "BarFrontUnactiveV");
    }
  }
  return inner;
}

}  // namespace

KV_GUI::CONTROL* KV_GUI::CreateScrollPlane(const char* skin, const char* name, KV_VECTOR position,
                                           KV_VECTOR size, KV_VECTOR barSize, KV_VECTOR contentSize,
                                           float marginTop, float marginBottom, float marginLeft,
                                           float marginRight, CONTROL* parent) {
  const float margins[4] = {marginTop, marginBottom, marginLeft, marginRight};
  CONTROL* content = BuildScrollPlane<Com::C_GUI_CONTROL>(*this, skin, position, size, barSize,
                                                          contentSize, margins, parent);
  if (content != nullptr) File(*this, name, content);
  return content;
}

KV_GUI::CONTROL* KV_GUI::CreateComboList(const char* skin, const char* name, KV_VECTOR position,
                                         KV_VECTOR size, KV_VECTOR barSize, KV_VECTOR contentSize,
                                         float marginTop, float marginBottom, float marginLeft,
                                         float marginRight, CONTROL* parent) {
  const float margins[4] = {marginTop, marginBottom, marginLeft, marginRight};
  CONTROL* content =
      BuildScrollPlane<__combo>(*this, skin, position, size, barSize, contentSize, margins, parent);
  if (content != nullptr) File(*this, name, content);
  return content;
}

KV_GUI::CONTROL* KV_GUI::CreateListBox(const char* skin, const char* name, KV_VECTOR position,
                                       KV_VECTOR size, float barWidth, float marginTop,
                                       float marginBottom, float marginLeft, float marginRight,
                                       CONTROL* parent) {
  // No horizontal bar: its height is 0.
  CONTROL* content = CreateScrollPlane(skin, nullptr, position, size, KV_VECTOR(barWidth, 0, 0, 1),
                                       KV_VECTOR(0, 0, 0, 1), marginTop, marginBottom, marginLeft,
                                       marginRight, parent);
  if (content == nullptr) return nullptr;
  content->SetTag("listbox");
  File(*this, name, content);
  return content;
}

}  // namespace KvCore
