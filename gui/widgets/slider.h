// KvCore::KV_GUI::__slider: the bar of a slider ("hbar" or "vbar"). A click on it starts a
// drag that lasts until the button is released; while dragging the thumb (its first child)
// follows the cursor within the bar and the outer slider hears about it every frame.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__slider : public CONTROL {
 public:
  unsigned char Dragging;  // 1 from a click on the bar until the button is released

  // Not dragging.
  __slider();
  ~__slider() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
