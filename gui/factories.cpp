// The factories of the framed composites: window, button, scroll plane (and the combo box's
// list), static text, progress bar, list box, check and option boxes, group. Each builds a
// small tree of parts marked by their part names, skins it from the named skin and files the
// returned control by name. A composite whose top cannot be attached leaves nothing behind.
#include "gui/composite.h"
#include "gui/widgets/widgets.h"

namespace KvCore {

using namespace composite;

namespace {

constexpr float BAR_HEIGHT = 24;    // a window's title bar and its buttons
constexpr float BUTTON_WIDTH = 32;  // one title-bar button; the next sits this far left

// One title-bar button with its glyph, docked inside the right edge at offset from it.
void AddTitleButton(KV_GUI& gui, CONTROL* window, const char* skin, const char* part,
                    const char* glyphStyle, float offset) {
  KV_GUI::__window* button = AttachNew(gui, new KV_GUI::__window(), window);
  if (button == nullptr) return;
  button->SetTag(part);
  button->MarginLeft = -offset;
  button->MarginRight = offset;
  button->Behaviour = KV_GUI::DOCK_TO_EDGE_TOP | KV_GUI::DOCK_TO_EDGE_RIGHT_INSIDE;
  button->Size = KV_VECTOR(BUTTON_WIDTH, BAR_HEIGHT, 0, 1);
  Skin(gui, button, skin, "ButtonActive", "ButtonUnactive");
  KV_GUI::__window* glyph = AttachNew(gui, new KV_GUI::__window(), button);
  if (glyph == nullptr) return;
  glyph->Position = KV_VECTOR(10, 6, 0, 1);
  glyph->Size = KV_VECTOR(12, 12, 0, 1);
  Skin(gui, glyph, skin, glyphStyle, glyphStyle);
  // A press on the glyph must hit the button under it.
  glyph->Hitable = 0;
}

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

KV_GUI::CONTROL* KV_GUI::CreateWindow(const char* skin, const char* name, const char* title,
                                      KV_VECTOR position, KV_VECTOR size, uint32_t flags,
                                      KV_HANDLE icon, float marginTop, float marginBottom,
                                      float marginLeft, float marginRight, CONTROL* parent) {
  __window* window = AttachPlaced<__window>(*this, parent, position, size);
  if (window == nullptr) return nullptr;
  window->SetTag("winarea");
  if (flags == 0) {
    Skin(*this, window, skin, "AreaActive", "AreaUnactive");
  } else {
    // The bar row sits inside the window's box, above the client area.
    window->MarginTop = BAR_HEIGHT;
    window->CutMarginTop = -BAR_HEIGHT;
    Skin(*this, window, skin, "AreaBarActive", "AreaBarUnactive");
  }

  Com::C_GUI_CONTROL* client = AttachPart(*this, new Com::C_GUI_CONTROL(), window, window);
  if (client == nullptr) return nullptr;
  client->Behaviour = FIT_TO_EDGE;
  client->MarginTop = marginTop;
  client->MarginBottom = marginBottom;
  client->MarginLeft = marginLeft;
  client->MarginRight = marginRight;

  if (flags & 1) {
    __window* bar = AttachNew(*this, new __window(), window);
    if (bar != nullptr) {
      bar->SetTag("bar");
      bar->Behaviour = INHERIT_WIDTH | DOCK_TO_EDGE_TOP;
      bar->Size = KV_VECTOR(size.x, BAR_HEIGHT, 0, 1);
      Skin(*this, bar, skin, "BarActive", "BarUnactive");
      SetText(bar, title);
      bar->Icon = icon;
    }
  }
  // The buttons line up from the right edge leftwards in the order close, full, minimize.
  static const struct {
    uint32_t flag;
    const char* part;
    const char* glyph;
  } buttons[] = {
      {2, "btnclose", "ButtonClose"}, {8, "btnfull", "ButtonFull"}, {4, "btnmini", "ButtonMin"}};
  float offset = 0;
  for (const auto& button : buttons) {
    if (!(flags & button.flag)) continue;
    AddTitleButton(*this, window, skin, button.part, button.glyph, offset);
    offset += BUTTON_WIDTH;
  }
  File(*this, name, client);
  return client;
}

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
