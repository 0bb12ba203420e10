// The framework's intro: a state that opens a 640 x 260 topmost tool window of its own, fades the
// engine module's logo (KV_RESOURCE_LOGO of type KV_RESOURCE_TYPE_IMAGE) in and out over three
// seconds with the cursor hidden, and closes the window again. Everything it makes lives only while
// it runs.
#pragma once

#include <cstdint>

#include "platform/winapi/windows.h"

class KV_SPRITE;
struct KV_WINDOW;

// What the intro hands its per-frame procedure: the window, the fade angle and the logo.
struct KV_INTRO_FRAME {
  KV_WINDOW* window;
  float* t;
  KV_SPRITE* sprite;
};

// The state "intro": shows the logo for three seconds, or until a quit message arrives; returns
// at once when no window can be made.
void IntroState();
// One intro frame: the logo at alpha min(1, 2 sin t), t grows 60 degrees a second, the loop ends
// once t reaches 180. argument points to a KV_INTRO_FRAME.
void IntroFrame(HWND hwnd, uintptr_t argument);
