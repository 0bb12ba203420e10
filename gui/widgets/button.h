// KvCore::KV_GUI::__button: the inner part of a button composite. It fills the outer button,
// swaps the outer's style between its over and normal looks as the pointer enters and leaves,
// and tells the outer about clicks, entering and leaving.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__button : public CONTROL {
 public:
  STYLE_HANDLE StyleOver;    // the outer's look while the pointer is over it; end: none
  STYLE_HANDLE StyleNormal;  // the outer's look otherwise; end: none

  // Both styles empty.
  __button();
  ~__button() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
