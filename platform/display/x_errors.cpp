// The X error handler that lets a refused focus request pass.
#include "platform/display/x_errors.h"

#include <SDL2/SDL.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <cstring>

namespace platform {
namespace {

XErrorHandler previousHandler = nullptr;

int DropFocusRequestErrors(Display* display, XErrorEvent* error) {
  if (error->request_code == X_SetInputFocus) return 0;
  return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

}  // namespace

void TolerateFocusRequestErrors() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "x11") != 0) return;
  previousHandler = XSetErrorHandler(DropFocusRequestErrors);
}

}  // namespace platform
