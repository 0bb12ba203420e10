// The window composite's parts: the title bar raises and drags the window, the three buttons
// close it or tell its client area that "full" or "minimise" was asked for.
#include "gui/widgets/window.h"

#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

namespace {

// The title bar: a click raises the window and starts a drag; the drag ends on release or
// when no button is held; while dragging, the window follows the mouse.
void OnBar(KV_GUI::__window& bar) {
  KV_GUI::CONTROL* window = Ancestor(&bar, 1);
  uint32_t events = bar.Events;
  if (Clicked(events)) {
    if (bar.owner != nullptr && window != nullptr) bar.owner->BringToFront(window, 1);
    bar.Dragging = 1;
  }
  if ((events & KV_GUI::EVENT_MOUSE_RELEASED) || !(events & KV_GUI::EVENT_MOUSE_DOWN))
    bar.Dragging = 0;
  if (bar.Dragging && (events & KV_GUI::EVENT_MOVED) && window != nullptr && bar.owner != nullptr) {
    KV_VECTOR_D delta = bar.owner->GetMouseDelta();
    window->Position += KV_VECTOR((float)delta.x, (float)delta.y, (float)delta.z, (float)delta.w);
    Notify(bar.owner, FirstChild(window), KV_GUI::WINDOW_DRAGGED);
  }
}

// The close button: the window leaves the tree at once, so that its client area hears the
// close with the window already gone. The client area is held until it has heard it.
void OnClose(KV_GUI::__window& button) {
  KV_GUI* gui = button.owner;
  KV_GUI::CONTROL* window = Ancestor(&button, 1);
  if (gui == nullptr || window == nullptr) return;
  KV_GUI::CONTROL* client = FirstChild(window);
  KV_SHARED<KV_GUI::CONTROL> keep(nullptr);
  if (client != nullptr) keep = client->node->value;
  gui->RemoveControl(window);
  Notify(gui, client, KV_GUI::WINDOW_CLOSED);
}

}  // namespace

KV_GUI::__window::__window() : Dragging(0) {}

KV_GUI::__window::~__window() {}

void KV_GUI::__window::OnEvent() {
  KV_STRING part = GetTag();
  if (part == "bar") {
    OnBar(*this);
    return;
  }
  if (!Clicked(Events)) return;
  if (part == "btnclose")
    OnClose(*this);
  else if (part == "btnfull")
    Notify(owner, FirstChild(Ancestor(this, 1)), WINDOW_MAXIMIZE);
  else if (part == "btnmini")
    Notify(owner, FirstChild(Ancestor(this, 1)), WINDOW_MINIMIZE);
}

}  // namespace KvCore
