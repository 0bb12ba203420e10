// The X server behind SDL's X11 driver, asked for what SDL keeps no current copy of: which keys
// the server holds down, whatever window has the keyboard, and where it has the pointer,
// whatever moved it. Each question is one round trip on SDL's own connection. Internal to
// platform/.
#pragma once

#include <SDL2/SDL.h>

#include "platform/winapi/records.h"

namespace platform {

// The server's key map: a bit for each X key, set while the server holds the key down.
struct ServerKeymap {
  char keys[32];
};

// Reads the key map as it is now. False when there is no X server to ask: another video
// driver (a real display that is not X is named once on stderr), or no window made yet.
bool QueryServerKeymap(ServerKeymap& keymap);
// Whether the key map, read from the server, holds the SDL key down.
bool ServerKeyDown(const ServerKeymap& keymap, SDL_Scancode scancode);
// Where the server has the pointer, in screen pixels. False when there is no X server to ask,
// or the pointer is on another screen of it.
bool QueryServerPointer(POINT& where);

}  // namespace platform
