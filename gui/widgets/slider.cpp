// A slider bar: a click on it starts a drag that lasts until the button is released; while
// dragging, the thumb follows the cursor within the bar, every frame.
#include "gui/widgets/slider.h"

#include "app/input.h"
#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

namespace {

// Centres the thumb on the cursor along one axis (0 x, 1 y), held within the bar.
void FollowCursor(KV_GUI::__slider& bar, KV_GUI::CONTROL& thumb, int axis) {
  const KV_WINDOW* screen = bar.owner != nullptr ? bar.owner->GetScreen() : nullptr;
  if (axis == 0) {
    float x = (float)KvCursorXIn(screen) - bar.Points[0][0].x - thumb.Size.x * 0.5f;
    if (x < 0) x = 0;
    if (x > bar.Size.x - thumb.Size.x) x = bar.Size.x - thumb.Size.x;
    thumb.Position = KV_VECTOR(x, 0, 0, 1);
  } else {
    float y = (float)KvCursorYIn(screen) - bar.Points[0][0].y - thumb.Size.y * 0.5f;
    if (y < 0) y = 0;
    if (y > bar.Size.y - thumb.Size.y) y = bar.Size.y - thumb.Size.y;
    thumb.Position = KV_VECTOR(0, y, 0, 1);
  }
}

}  // namespace

KV_GUI::__slider::__slider() : Dragging(0) {}

KV_GUI::__slider::~__slider() {}

void KV_GUI::__slider::OnEvent() {
  if (Clicked(Events)) Dragging = 1;
  // A release anywhere ends the drag.
  if (Events & EVENT_MOUSE_RELEASED) Dragging = 0;
  if (!Dragging) return;
  CONTROL* thumb = FirstChild(this);
  if (thumb == nullptr) return;
  KV_STRING part = GetTag();
  if (part == "hbar") {
    FollowCursor(*this, *thumb, 0);
    Notify(owner, Ancestor(this, 1), SLIDER_DRAGGED_H);
  } else if (part == "vbar") {
    FollowCursor(*this, *thumb, 1);
    Notify(owner, Ancestor(this, 1), SLIDER_DRAGGED_V);
  }
}

}  // namespace KvCore
