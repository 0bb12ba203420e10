// A small program on the framework with two windows, for the desktop test: "Kelvo Two Windows A"
// at (100, 100) and "Kelvo Two Windows B" at (600, 100), each 320 x 240 with a render target of
// its own. Every frame draws into both in turn and then presents both in turn, so the GL context
// goes from one window to the other between each window's drawing and its present:
//   A: a yellow rectangle (40, 30)-(100, 70) on A's clear colour (0.2, 0.4, 0.6)
//   B: a white rectangle (200, 150)-(260, 190) on B's clear colour (0.6, 0.2, 0.4)
// Each present clears its window's next frame to that window's colour. After its first frames
// the program says "drawing" on stdout. Escape ends it with exit code 1.
#include <cstdio>

#include "app/input.h"
#include "app/loop.h"
#include "core/core.h"
#include "engine/kv_engine.h"
#include "graphics/primitives.h"
#include "platform/winapi/windows.h"

KV_CORE Core;

namespace {

struct Look {
  const char* name;
  const char* title;
  int x;
  double clear[3];
  KV_VECTOR_D corner1, corner2;
  KV_VECTOR_D colour;
};

const Look kLooks[2] = {
    {"first", "Kelvo Two Windows A", 100, {0.2, 0.4, 0.6}, {40, 30}, {100, 70}, {1, 1, 0}},
    {"second", "Kelvo Two Windows B", 600, {0.6, 0.2, 0.4}, {200, 150}, {260, 190}, {1, 1, 1}},
};

constexpr int kSaidAfterFrames = 10;
int frames = 0;

void Draw(const Look& look) {
  Core.ActivateWindow(look.name, 0);
  Core.OrthoWindow(look.name, 0);
  KV_RECT2D rect;
  rect.filled = 1;
  rect.corner1 = look.corner1;
  rect.corner2 = look.corner2;
  for (KV_VECTOR_D& colour : rect.colours) colour = look.colour;
  rect.Draw(KV_VECTOR_D(0, 0), 0);
}

void Present(const Look& look) {
  Core.ActivateWindow(look.name, 0);
  KvSetState(KV_STATE_CLEAR_COLOR, look.clear[0], look.clear[1], look.clear[2], 1.0);
  KvRenderScene(KV_SCENE_FRAME);
}

void TwoWindowsFrame(HWND, uintptr_t) {
  if (KvKeyPressed(VK_ESCAPE)) Core.Quit();
  for (const Look& look : kLooks) Draw(look);
  for (const Look& look : kLooks) Present(look);
  if (++frames == kSaidAfterFrames) {
    std::printf("drawing\n");
    std::fflush(stdout);
  }
}

void TwoWindowsState() {
  Core.ActivateWindow(kLooks[0].name, 0);
  Core.SetVsync(true);
  KV_LOOP::Instance().Run(TwoWindowsFrame, 0);
  Core.DestroyAll();
}

}  // namespace

// Returns 1 after a normal run, 0 when a window cannot be created.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  KvInitiation();
  for (const Look& look : kLooks) {
    KV_WINDOW* window = Core.windows.GetValue(look.name);
    window->title = look.title;
    window->x = look.x;
    window->y = 100;
    window->width = 320;
    window->height = 240;
    if (!window->Create(KV_HANDLE())) return 0;
  }
  Core.stateMachine.states.Get("two windows")->function = TwoWindowsState;
  Core.stateMachine.current = Core.stateMachine.states.Get("two windows");
  Core.stateMachine.Run();
  for (const Look& look : kLooks) Core.windows.GetValue(look.name)->Destroy();
  KvClosure();
  return 1;
}
