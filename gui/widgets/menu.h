// KvCore::KV_GUI::__menu: the parts of a menu: the button area ("menu"), which opens its
// list on a press and tells the outer about entering, leaving and pressing, and the list
// ("menulist"), which stays open while the pointer is inside it or its sub-menus and closes
// on a press outside.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__menu : public CONTROL {
 public:
  // No fields of its own.
  __menu();
  ~__menu() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
