// KvCore::KV_GUI::__default: a plain part without behaviour of its own (rows, thumbs, glyphs,
// scroll areas): it only draws and is hit like any control.
#pragma once

#include <cstdint>

#include "gui/gui.h"

namespace KvCore {

class KV_GUI::__default : public CONTROL {
 public:
  // No fields of its own.
  __default();
  ~__default() override;
  // Reacts to this frame's event bits (see the .cpp for the rules of each part).
  void OnEvent() override;
};

}  // namespace KvCore
