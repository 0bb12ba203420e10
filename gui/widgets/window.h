// KvCore::KV_GUI::__window: the parts of a window composite: the window area ("winarea"),
// its title bar ("bar", dragged to move the window) and its three buttons ("btnclose",
// "btnfull", "btnmini"), which notify the window's client area (its first child).
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__window : public CONTROL {
 public:
  unsigned char Dragging;  // 1 while the title bar is dragged

  // Not dragging.
  __window();
  ~__window() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
