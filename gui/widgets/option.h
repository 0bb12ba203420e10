// KvCore::KV_GUI::__option: the mark of one option-box row. A click unchecks every option of
// the box and checks this one (with Ctrl held it leaves them all unchecked), then notifies the
// outer option box.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__option : public CONTROL {
 public:
  unsigned char Checked;          // 1 while checked
  STYLE_HANDLE StyleActiveOn;     // StyleActive while checked
  STYLE_HANDLE StyleActiveOff;    // StyleActive while unchecked
  STYLE_HANDLE StyleUnactiveOn;   // StyleUnactive while checked
  STYLE_HANDLE StyleUnactiveOff;  // StyleUnactive while unchecked

  // Unchecked, every style empty.
  __option();
  ~__option() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
