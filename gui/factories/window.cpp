// The window factory: a window area with its client area, an optional title bar carrying the
// title and icon, and the close, maximize and minimize buttons lined up from the right edge.
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

  if (flags & WINDOW_TITLE_BAR) {
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
  } buttons[] = {{WINDOW_CLOSE_BUTTON, "btnclose", "ButtonClose"},
                 {WINDOW_MAXIMIZE_BUTTON, "btnfull", "ButtonFull"},
                 {WINDOW_MINIMIZE_BUTTON, "btnmini", "ButtonMin"}};
  float offset = 0;
  for (const auto& button : buttons) {
    if (!(flags & button.flag)) continue;
    AddTitleButton(*this, window, skin, button.part, button.glyph, offset);
    offset += BUTTON_WIDTH;
  }
  File(*this, name, client);
  return client;
}

}  // namespace KvCore
