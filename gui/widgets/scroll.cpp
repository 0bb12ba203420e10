// The scroll plane's thumbs: each sizes itself from the view and the content extent, follows
// the pointer while dragged and scrolls the content. The tracks have no behaviour.
#include "gui/widgets/scroll.h"

#include <cmath>

#include "gui/widgets/parts.h"

namespace KvCore {

using namespace widgets;

namespace {

// One axis of a scroll plane, so that the horizontal and vertical thumbs share one rule.
struct AXIS {
  int index;        // 0: x, 1: y
  uint32_t notify;  // bit sent to the track while dragging

  static float& Of(KV_VECTOR& v, int index) { return index == 0 ? v.x : v.y; }
  static float Of(const KV_VECTOR_D& v, int index) { return (float)(index == 0 ? v.x : v.y); }
};

// The cursor as this frame's hit pass saw it: the stored position (the previous frame's) plus
// this frame's movement, so that the thumb ends under the pointer when the pointer stops.
float Cursor(const KV_GUI& gui, int index) {
  return AXIS::Of(gui.GetMousePosition() + gui.GetMouseDelta(), index);
}

// The thumb's rule on one axis: size from the view, drag, clamp, content offset, notification.
void ScrollThumb(KV_GUI::__scroll& thumb, const AXIS& axis) {
  KV_GUI::CONTROL* area = Ancestor(&thumb, 2);
  KV_GUI::CONTROL* content = FirstChild(area);
  if (area == nullptr || content == nullptr) return;
  int i = axis.index;
  float areaSize = AXIS::Of(area->Size, i);
  float view = areaSize - (i == 0 ? area->MarginRight : area->MarginBottom);
  // A view and extent that are both 0 give an empty thumb instead of 0 / 0.
  float larger = std::fmax(view, thumb.ContentExtent);
  AXIS::Of(thumb.Size, i) = larger != 0 ? view * view / larger : 0;
  float thumbSize = AXIS::Of(thumb.Size, i);

  uint32_t events = thumb.Events;
  if (Clicked(events)) {
    thumb.Dragging = 1;
    float mouse = thumb.owner != nullptr ? Cursor(*thumb.owner, i) : 0;
    thumb.GrabOffset = mouse - AXIS::Of(thumb.Position, i);
  }
  if ((events & KV_GUI::EVENT_MOUSE_RELEASED) || !(events & KV_GUI::EVENT_MOUSE_DOWN)) {
    thumb.Dragging = 0;
    thumb.GrabOffset = 0;
  }
  if (!thumb.Dragging || !(events & KV_GUI::EVENT_MOVED) || thumb.owner == nullptr) return;

  // Raised to 0 first, then lowered: a thumb wider than the view ends at view - thumb.
  float position = Cursor(*thumb.owner, i) - thumb.GrabOffset;
  if (position < 0) position = 0;
  if (position > view - thumbSize) position = view - thumbSize;
  AXIS::Of(thumb.Position, i) = position;

  float contentSize = AXIS::Of(content->Size, i);
  float travel = contentSize - thumbSize;
  float& offset = AXIS::Of(content->ChildOffset, i);
  if (travel <= 0) {
    offset = 0;
  } else {
    float margins = i == 0 ? content->MarginLeft + content->MarginRight
                           : content->MarginTop + content->MarginBottom;
    offset =
        -(std::fmax(areaSize, thumb.ContentExtent) + margins - contentSize) * position / travel;
  }
  Notify(thumb.owner, Ancestor(&thumb, 1), axis.notify);
}

}  // namespace

KV_GUI::__scroll::__scroll() : Dragging(0), GrabOffset(0), ContentExtent(0) {}

KV_GUI::__scroll::~__scroll() {}

void KV_GUI::__scroll::OnEvent() {
  KV_STRING part = GetTag();
  if (part == "hscrollf")
    ScrollThumb(*this, AXIS{0, SCROLL_DRAGGED_H});
  else if (part == "vscrollf")
    ScrollThumb(*this, AXIS{1, SCROLL_DRAGGED_V});
}

}  // namespace KvCore
