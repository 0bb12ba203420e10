// A small program on the framework whose windows change after they are made, for the desktop
// test. Each SIGUSR1 makes the next change at the start of the next frame; after each change the
// program says what its window holds now, and after five more frames "drawn N" (N changes made),
// so the test knows the program goes on. Every window is cleared to transparent black each
// frame, with a half-transparent red square (1, 0, 0, 0.5) at (20, 20)-(80, 80) and an opaque
// green one at (120, 20)-(180, 80), presented as a layered frame. The first word on the command
// line picks what changes:
//   move    "Kelvo Moving", layered, 320 x 240 at (100, 100); the change is
//           MoveWindow(200, 320, 360, 180), after which it says "fields X Y W H" (the window's
//           fields) and "target W H" (its render target's size)
//   layer   "Kelvo Layered Later", 200 x 150 at (100, 100), made opaque; the changes set
//           layered to 1, then 0, then 1 ..., each through Apply, after which it says
//           "layered L F" (the field afterwards, and the render target's format)
//   focus   "Kelvo Focus Main", 320 x 200 at (100, 100); the changes open "Kelvo Focus
//           Second" (200 x 100 at (600, 100), shown and activated), then close it, then open
//           it again ..., saying "opened" or "closed"
//   arrive  "Kelvo Compositor Later", 200 x 150 at (100, 100), made layered, which says
//           "layered L F" once made; the desktop changes under it (a compositing manager
//           starts, stops and starts again), the program does not. Besides the squares it draws
//           a texture loaded before its first frame: 2 x 2 opaque texels, red and blue over
//           yellow and white, each 20 x 20 pixels, at (100, 90)-(140, 130)
// In every mode each Space that reaches the program is said as "space".
// Escape ends it with exit code 1.
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/input.h"
#include "app/loop.h"
#include "core/core.h"
#include "engine/kv_engine.h"
#include "graphics/primitives.h"
#include "platform/winapi/windows.h"

KV_CORE Core;

namespace {

constexpr const char* kMain = "main";
constexpr const char* kSecond = "second";
constexpr int kFramesAfterChange = 5;

volatile std::sig_atomic_t changesAsked = 0;
int changesMade = 0;
int framesSinceChange = -1;
bool secondOpen = false;
char mode[16] = "";

void AskChange(int) { changesAsked = changesAsked + 1; }

void Say(const char* text) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

void Square(double left, KV_VECTOR_D colour) {
  KV_RECT2D rect;
  rect.filled = 1;
  rect.corner1 = KV_VECTOR_D(left, 20);
  rect.corner2 = KV_VECTOR_D(left + 60, 80);
  for (KV_VECTOR_D& corner : rect.colours) corner = colour;
  rect.Draw(KV_VECTOR_D(0, 0), 0);
}

// The texture is made before the first frame and drawn one texel to 20 x 20 pixels, unfiltered.
KV_HANDLE texture;

void LoadTexture() {
  const uint8_t texels[16] = {255, 0, 0, 255, 0, 0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 255};
  KvTextureCreate(&texture);
  KvTextureLoadRGBAFromMemory(texture, texels, 2, 2);
  KvTextureUnactivate(KV_TEXTURE_TARGET);
}

void DrawTexture() {
  const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  KV_VERTEX quad[4];
  for (int i = 0; i < 4; ++i) {
    quad[i].texCoord[0] = corners[i][0];
    quad[i].texCoord[1] = corners[i][1];
    quad[i].position[0] = 100 + 40 * corners[i][0];
    quad[i].position[1] = 90 + 40 * corners[i][1];
    for (float& channel : quad[i].color) channel = 1;
  }
  KvTextureActivate(texture);
  KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, quad, nullptr, 0, 0, 0, 0, 0, 0);
  KvTextureUnactivate(KV_TEXTURE_TARGET);
}

void DrawAndPresent(const char* name) {
  Core.ActivateWindow(name, 0);
  Core.OrthoWindow(name, 0);
  Square(20, KV_VECTOR_D(1, 0, 0, 0.5));
  Square(120, KV_VECTOR_D(0, 1, 0, 1));
  if (!texture.IsNull()) DrawTexture();
  KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 0.0);
  KvRenderScene(KV_SCENE_LAYERED_FRAME);
}

int TargetValue(KV_WINDOW* window, uint32_t property) {
  const int32_t* value = (const int32_t*)KvRenderTargetGet(window->GetRenderTarget(), property);
  return value != nullptr ? *value : -1;
}

void Move(KV_WINDOW* window) {
  MoveWindow(window->GetHandle(), 200, 320, 360, 180, TRUE);
  std::printf("fields %d %d %d %d\ntarget %d %d\n", window->x, window->y, window->width,
              window->height, TargetValue(window, KV_RT_VIEWPORT_W),
              TargetValue(window, KV_RT_VIEWPORT_H));
  std::fflush(stdout);
}

void Layer(KV_WINDOW* window) {
  window->layered = window->layered ? 0 : 1;
  window->Apply();
  std::printf("layered %d %d\n", window->layered, TargetValue(window, KV_RT_FORMAT));
  std::fflush(stdout);
}

bool OpenSecond() {
  KV_WINDOW* window = Core.windows.GetValue(kSecond);
  window->title = "Kelvo Focus Second";
  window->x = 600;
  window->y = 100;
  window->width = 200;
  window->height = 100;
  return window->Create(KV_HANDLE());
}

void ToggleSecond() {
  if (secondOpen) {
    Core.windows.GetValue(kSecond)->Destroy();
    secondOpen = false;
    Say("closed");
  } else {
    secondOpen = OpenSecond();
    Say(secondOpen ? "opened" : "not opened");
  }
}

void Change() {
  KV_WINDOW* window = Core.windows.GetValue(kMain);
  if (std::strcmp(mode, "move") == 0) Move(window);
  if (std::strcmp(mode, "layer") == 0) Layer(window);
  if (std::strcmp(mode, "focus") == 0) ToggleSecond();
  ++changesMade;
  framesSinceChange = 0;
}

void Frame(HWND, uintptr_t) {
  if (KvKeyPressed(VK_ESCAPE)) Core.Quit();
  if (KvKeyPressed(VK_SPACE)) Say("space");
  if (changesMade < changesAsked) Change();
  DrawAndPresent(kMain);
  if (secondOpen) DrawAndPresent(kSecond);
  if (framesSinceChange >= 0 && ++framesSinceChange == kFramesAfterChange) {
    std::printf("drawn %d\n", changesMade);
    std::fflush(stdout);
  }
}

void RunState() {
  Core.ActivateWindow(kMain, 0);
  Core.SetVsync(true);
  Say("drawing");
  KV_LOOP::Instance().Run(Frame, 0);
  if (secondOpen) Core.windows.GetValue(kSecond)->Destroy();
  Core.DestroyAll();
}

bool CreateMain() {
  KV_WINDOW* window = Core.windows.GetValue(kMain);
  window->x = 100;
  window->y = 100;
  if (std::strcmp(mode, "move") == 0) {
    window->title = "Kelvo Moving";
    window->width = 320;
    window->height = 240;
    window->layered = 1;
  } else if (std::strcmp(mode, "layer") == 0) {
    window->title = "Kelvo Layered Later";
    window->width = 200;
    window->height = 150;
  } else if (std::strcmp(mode, "arrive") == 0) {
    window->title = "Kelvo Compositor Later";
    window->width = 200;
    window->height = 150;
    window->layered = 1;
  } else {
    window->title = "Kelvo Focus Main";
    window->width = 320;
    window->height = 200;
  }
  return window->Create(KV_HANDLE());
}

}  // namespace

// Returns 1 after a normal run, 0 when its window cannot be made or the mode is unknown.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  std::sscanf(commandLine != nullptr ? commandLine : "", "%15s", mode);
  if (std::strcmp(mode, "move") != 0 && std::strcmp(mode, "layer") != 0 &&
      std::strcmp(mode, "focus") != 0 && std::strcmp(mode, "arrive") != 0)
    return 0;
  std::signal(SIGUSR1, AskChange);
  KvInitiation();
  if (!CreateMain()) return 0;
  if (std::strcmp(mode, "arrive") == 0) {
    KV_WINDOW* window = Core.windows.GetValue(kMain);
    std::printf("layered %d %d\n", window->layered, TargetValue(window, KV_RT_FORMAT));
    std::fflush(stdout);
    LoadTexture();
  }
  Core.stateMachine.states.Get("changing")->function = RunState;
  Core.stateMachine.current = Core.stateMachine.states.Get("changing");
  Core.stateMachine.Run();
  if (!texture.IsNull()) KvTextureDestroy(texture);
  Core.windows.GetValue(kMain)->Destroy();
  KvClosure();
  return 1;
}
