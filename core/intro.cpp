// The intro state: its window, the logo out of the engine module and the fade.
#include "core/intro.h"

#include <algorithm>
#include <cmath>

#include "app/loop.h"
#include "app/window.h"
#include "core/resource.h"
#include "engine/kv_engine.h"
#include "foundation/engine_module.h"
#include "foundation/small_math.h"
#include "graphics/sprite.h"

namespace {

constexpr int kIntroWidth = 640;
constexpr int kIntroHeight = 260;

// Creates the window, with the alpha render target first and an opaque one when that fails.
bool CreateIntroWindow(KV_WINDOW& window) {
  if (window.Create(KV_HANDLE())) return true;
  window.layered = 0;
  return window.Create(KV_HANDLE());
}

// Render states of the intro's target: no vsync, transparent clear colour, alpha blending.
void PrepareTarget(const KV_WINDOW& window) {
  KvRenderTargetActivate(window.GetRenderTarget());
  KvRenderVsync(0);
  KvSetState(KV_STATE_TEXTURING, 1);
  KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 0.0);
  KvSetState(KV_STATE_BLEND, 1);
  KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE_MINUS_SRC_ALPHA);
}

// The logo out of the engine module; a missing resource leaves the sprite without frames.
void LoadLogo(KV_SPRITE& sprite) {
  KV_RESOURCE resource;
  resource.Load(KvEngineModule(), MAKEINTRESOURCEA(KV_RESOURCE_LOGO),
                MAKEINTRESOURCEA(KV_RESOURCE_TYPE_IMAGE));
  const void* blocks[1] = {resource.GetData()};
  sprite.LoadFromMemory(blocks, 1, 1, KV_FILTER_LINEAR, KV_FILTER_LINEAR, 0, 0, 0, 0, 0, 0);
  resource.Free();
}

}  // namespace

void IntroState() {
  KV_WINDOW window;
  window.title = "Kelvo Core Intro";
  window.appWindow = 0;
  float t = 0;
  KV_SPRITE sprite;

  window.FitScreen();
  window.x = window.width / 2 - kIntroWidth / 2;
  window.y = window.height / 2 - kIntroHeight / 2;
  window.width = kIntroWidth;
  window.height = kIntroHeight;
  window.colorBits = 32;
  window.depthBits = 16;
  window.layered = 1;
  window.topmost = 1;
  if (!CreateIntroWindow(window)) return;

  PrepareTarget(window);
  LoadLogo(sprite);

  KV_INTRO_FRAME record{&window, &t, &sprite};
  ShowCursor(FALSE);
  KV_LOOP::Instance().Run(IntroFrame, reinterpret_cast<uintptr_t>(&record));
  ShowCursor(TRUE);
  KvRenderScene(KV_SCENE_FRAME);

  sprite.Destroy(0);
  window.Destroy();
}

void IntroFrame(HWND, uintptr_t argument) {
  KV_INTRO_FRAME* record = reinterpret_cast<KV_INTRO_FRAME*>(argument);
  KV_LOOP& loop = KV_LOOP::Instance();
  KvCameraOrtho(0, 0, record->window->width, record->window->height, 0);
  // Alpha comes from t before this frame's step, so the last frame is still faintly visible.
  float alpha = std::min(1.0f, 2.0f * std::sin(KvDegToRad(*record->t)));
  record->sprite->SetColor(1, 1, 1, alpha);
  *record->t += loop.frameTime * 60;
  if (*record->t >= 180) loop.running = 0;
  record->sprite->Draw(KV_VECTOR_D(0, 0, 0, 1), KV_VECTOR_D(0, 0, 0, 0), KV_VECTOR_D(1, 1, 1, 1));
  KvRenderScene(KV_SCENE_LAYERED_FRAME);
}
