// Whether SFML can open its windows: an X display named by DISPLAY that answers. Kept apart from
// the SFML renderers because Xlib's macros (None, Status) clash with SFML's names.
#include <X11/Xlib.h>

#include <cstdlib>

#include "bench/engine/sfml_sprites.h"

namespace sprites_bench {

bool SfmlAvailable() {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return false;
  Display* display = XOpenDisplay(name);
  if (display == nullptr) return false;
  XCloseDisplay(display);
  return true;
}

}  // namespace sprites_bench
