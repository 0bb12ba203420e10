// KvCore::KV_GUI::__check: the check mark of one check-box row. A click toggles it, swaps its
// two styles to the checked or unchecked pair and notifies the row.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__check : public CONTROL {
 public:
  unsigned char Checked;          // 1 while checked
  STYLE_HANDLE StyleActiveOn;     // StyleActive while checked
  STYLE_HANDLE StyleActiveOff;    // StyleActive while unchecked
  STYLE_HANDLE StyleUnactiveOn;   // StyleUnactive while checked
  STYLE_HANDLE StyleUnactiveOff;  // StyleUnactive while unchecked

  // Unchecked, every style empty.
  __check();
  ~__check() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
