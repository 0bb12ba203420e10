// KvCore::KV_GUI::__list: one item of a list box. A click selects it alone (or deselects it
// when it was selected); with Ctrl held a click adds it to or removes it from the selection.
// Its own look follows selection and the pointer.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__list : public CONTROL {
 public:
  unsigned char Selected;      // 1 while selected
  STYLE_HANDLE StyleSelected;  // look while selected
  STYLE_HANDLE StyleOver;      // look while the pointer is over it, unselected
  STYLE_HANDLE StyleNormal;    // look otherwise

  // Unselected, every style empty.
  __list();
  ~__list() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
