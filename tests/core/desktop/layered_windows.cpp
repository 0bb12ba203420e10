// A small program on the framework with layered windows, for the desktop test. Each window is
// 300 x 100 and split into three columns of 100 pixels, drawn every frame:
//   "Kelvo Layered" at (100, 100), layered (per-pixel alpha), cleared to transparent black and
//     presented as the intro presents: left nothing, middle red at alpha 0.5, right opaque green;
//   "Kelvo Colour Key" at (100, 300), colour key magenta: left magenta, middle and right blue;
//   "Kelvo Colour Key Half" at (500, 300), the same with opacity 0.5 besides the key.
// After creating the windows it says "layered 1" when the first kept its alpha target (a
// compositing desktop) or "layered 0" when the framework fell back to an opaque one; after its
// first frames, "drawing". Escape ends it with exit code 1.
#include <cstdio>

#include "app/input.h"
#include "app/loop.h"
#include "core/core.h"
#include "engine/kv_engine.h"
#include "graphics/primitives.h"
#include "platform/winapi/windows.h"

KV_CORE Core;

namespace {

constexpr COLORREF kMagenta = 0x00ff00ff;

struct Column {
  double left;
  KV_VECTOR_D colour;
};

struct Look {
  const char* name;
  const char* title;
  int x = 0;
  int y = 0;
  bool layered = false;
  bool colorKey = false;
  float opacity = 1.0f;
  KV_VECTOR_D clear;
  Column columns[2];  // drawn over the clear colour, each to the window's right edge
};

const Look kLooks[3] = {
    {.name = "layered",
     .title = "Kelvo Layered",
     .x = 100,
     .y = 100,
     .layered = true,
     .clear = KV_VECTOR_D(0, 0, 0, 0),
     .columns = {{100, KV_VECTOR_D(1, 0, 0, 0.5)}, {200, KV_VECTOR_D(0, 1, 0, 1)}}},
    {.name = "keyed",
     .title = "Kelvo Colour Key",
     .x = 100,
     .y = 300,
     .colorKey = true,
     .clear = KV_VECTOR_D(1, 0, 1, 1),
     .columns = {{100, KV_VECTOR_D(0, 0, 1, 1)}, {200, KV_VECTOR_D(0, 0, 1, 1)}}},
    {.name = "keyed half",
     .title = "Kelvo Colour Key Half",
     .x = 500,
     .y = 300,
     .colorKey = true,
     .opacity = 0.5f,
     .clear = KV_VECTOR_D(1, 0, 1, 1),
     .columns = {{100, KV_VECTOR_D(0, 0, 1, 1)}, {200, KV_VECTOR_D(0, 0, 1, 1)}}},
};

constexpr int kWidth = 300;
constexpr int kHeight = 100;
constexpr int kSaidAfterFrames = 10;
int frames = 0;

void Draw(const Look& look) {
  Core.ActivateWindow(look.name, 0);
  Core.OrthoWindow(look.name, 0);
  for (const Column& column : look.columns) {
    KV_RECT2D rect;
    rect.filled = 1;
    rect.corner1 = KV_VECTOR_D(column.left, 0);
    rect.corner2 = KV_VECTOR_D(column.left + 100, kHeight);
    for (KV_VECTOR_D& colour : rect.colours) colour = column.colour;
    rect.Draw(KV_VECTOR_D(0, 0), 0);
  }
}

void Present(const Look& look) {
  Core.ActivateWindow(look.name, 0);
  KvSetState(KV_STATE_CLEAR_COLOR, look.clear.x, look.clear.y, look.clear.z, look.clear.w);
  KvRenderScene(look.layered ? KV_SCENE_LAYERED_FRAME : KV_SCENE_FRAME);
}

void LayeredFrame(HWND, uintptr_t) {
  if (KvKeyPressed(VK_ESCAPE)) Core.Quit();
  for (const Look& look : kLooks) Draw(look);
  for (const Look& look : kLooks) Present(look);
  if (++frames == kSaidAfterFrames) {
    std::printf("drawing\n");
    std::fflush(stdout);
  }
}

void LayeredState() {
  // Each window starts its first frame on its own clear colour.
  for (const Look& look : kLooks) Present(look);
  Core.ActivateWindow(kLooks[1].name, 0);
  Core.SetVsync(true);
  KV_LOOP::Instance().Run(LayeredFrame, 0);
  Core.DestroyAll();
}

bool CreateWindow(const Look& look) {
  KV_WINDOW* window = Core.windows.GetValue(look.name);
  window->title = look.title;
  window->x = look.x;
  window->y = look.y;
  window->width = kWidth;
  window->height = kHeight;
  window->layered = look.layered ? 1 : 0;
  window->useColorKey = look.colorKey ? 1 : 0;
  window->colorKey = kMagenta;
  window->opacity = look.opacity;
  return window->Create(KV_HANDLE());
}

}  // namespace

// Returns 1 after a normal run, 0 when a window cannot be created.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  KvInitiation();
  for (const Look& look : kLooks) {
    if (!CreateWindow(look)) return 0;
  }
  std::printf("layered %d\n", Core.windows.GetValue(kLooks[0].name)->layered);
  std::fflush(stdout);
  Core.stateMachine.states.Get("layered")->function = LayeredState;
  Core.stateMachine.current = Core.stateMachine.states.Get("layered");
  Core.stateMachine.Run();
  for (const Look& look : kLooks) Core.windows.GetValue(look.name)->Destroy();
  KvClosure();
  return 1;
}
