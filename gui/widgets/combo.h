// KvCore::KV_GUI::__combo: the parts of a combo box: the box area ("comboboxm"), which opens
// the item list on a press and tells the outer about entering, leaving and pressing, and the
// list's content ("comboboxl"), which keeps the list open while the pointer is in it and
// closes it on a press outside. The content records the item picked last.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__combo : public CONTROL {
 public:
  __comboitem* SelectedItem;  // the item picked last, not owned; null: none

  // No item selected.
  __combo();
  ~__combo() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
