// KvCore::KV_GUI::__scroll: the tracks ("hscrollb", "vscrollb") and thumbs ("hscrollf",
// "vscrollf") of a scroll plane. A thumb sizes itself from the view and the content extent,
// follows the pointer while dragged, scrolls the plane's content (ChildOffset) and notifies
// its track. Tracks do nothing.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__scroll : public CONTROL {
 public:
  unsigned char Dragging;  // 1 while the thumb is dragged
  float GrabOffset;        // pointer minus thumb position where the drag began
  float ContentExtent;     // width (h) or height (v) of the content the plane scrolls

  // Not dragging, offset and extent 0.
  __scroll();
  ~__scroll() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
