// KvCore::KV_GUI::__comboitem: one item of a combo box's list. A click closes the list,
// copies the item's text into the outer combo box, records the item as selected and notifies
// the outer; its look follows the pointer.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__comboitem : public CONTROL {
 public:
  STYLE_HANDLE StyleOver;    // look while the pointer is over it
  STYLE_HANDLE StyleNormal;  // look otherwise

  // Both styles empty.
  __comboitem();
  ~__comboitem() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
