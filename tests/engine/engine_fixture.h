// Shared set-up of the engine tests: a real window of the window-system layer (offscreen in the
// tests), a render target on it made current with the framework's usual states, and helpers to
// make textures and read pixels back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/kv_engine.h"
#include "engine/testing.h"
#include "platform/winapi/windows.h"

struct Rgba {
  int r, g, b, a;
};

inline bool Near(const Rgba& got, const Rgba& want, int tolerance = 2) {
  return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
         std::abs(got.b - want.b) <= tolerance && std::abs(got.a - want.a) <= tolerance;
}

inline std::ostream& operator<<(std::ostream& out, const Rgba& c) {
  return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

class EngineTest : public ::testing::Test {
 public:
  static constexpr int kWidth = 64;
  static constexpr int kHeight = 48;

  HWND hwnd = nullptr;
  KV_HANDLE target;

  void SetUp() override {
    KvInitiation();
    hwnd = MakeWindow("Engine Test", kWidth, kHeight);
    ASSERT_NE(hwnd, nullptr);
    ASSERT_EQ(KvRenderTargetCreate(&target, hwnd, KV_FORMAT_OPAQUE, 32, 16), 1);
    ASSERT_EQ(KvRenderTargetArea(target, 0, 0, kWidth, kHeight, 45.0, -1.0, 1.0, 0.0), 1);
    ASSERT_EQ(KvRenderTargetActivate(target), 1);
    KvSetState(KV_STATE_BLEND, 1);
    KvSetState(KV_STATE_BLEND_FUNC, KV_BLEND_SRC_ALPHA, KV_BLEND_ONE_MINUS_SRC_ALPHA);
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 1.0);
    KvSetState(KV_STATE_DRAW_COLOR, 1.0, 1.0, 1.0, 1.0);
    KvCameraOrtho(0, 0, kWidth, kHeight, 0);
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
  }

  void TearDown() override {
    kv::engine::testing::StopTrace();
    kv::engine::testing::ClearTrace();
    kv::engine::testing::ClearFailures();
    kv::engine::testing::SetFlushEveryDraw(false);
    KvRenderTargetDestroy(target);
    DestroyWindow(hwnd);
    UnregisterClassA("Engine Test", GetModuleHandleA(nullptr));
    KvClosure();
    EXPECT_EQ(kv::engine::testing::LiveObjectCount(), 0u);
  }

  static LRESULT CALLBACK Proc(HWND h, UINT message, WPARAM w, LPARAM l) {
    return DefWindowProcA(h, message, w, l);
  }

  // A hidden popup window of its own class, as the framework makes its windows.
  static HWND MakeWindow(const char* name, int width, int height) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    if (RegisterClassA(&windowClass) == 0) return nullptr;
    return CreateWindowExA(0, name, name, WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }

  // The pixel at (x, y), y down.
  static Rgba At(int x, int y) {
    std::vector<uint8_t> p = kv::engine::testing::ReadPixels(x, y, 1, 1);
    if (p.size() != 4) return Rgba{-1, -1, -1, -1};
    return Rgba{p[0], p[1], p[2], p[3]};
  }

  // A texture of w x h pixels all of one colour.
  static KV_HANDLE SolidTexture(int w, int h, Rgba c) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < w * h; ++i) {
      pixels.insert(pixels.end(), {static_cast<uint8_t>(c.r), static_cast<uint8_t>(c.g),
                                   static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.a)});
    }
    return TextureFrom(pixels, w, h);
  }

  static KV_HANDLE TextureFrom(const std::vector<uint8_t>& rgba, int w, int h) {
    KV_HANDLE texture;
    EXPECT_EQ(KvTextureCreate(&texture), 1);
    EXPECT_EQ(KvTextureLoadRGBAFromMemory(texture, rgba.data(), w, h), 1);
    KvTextureUnactivate(KV_TEXTURE_TARGET);
    return texture;
  }

  // The four vertices of a w x h sprite quad with its pivot at (px, py), in one colour.
  static void Quad(KV_VERTEX v[4], float w, float h, float px = 0, float py = 0,
                   Rgba c = {255, 255, 255, 255}) {
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
      v[i] = KV_VERTEX{};
      v[i].texCoord[0] = corners[i][0];
      v[i].texCoord[1] = corners[i][1];
      v[i].position[0] = corners[i][0] * w - px;
      v[i].position[1] = corners[i][1] * h - py;
      v[i].color[0] = c.r / 255.0f;
      v[i].color[1] = c.g / 255.0f;
      v[i].color[2] = c.b / 255.0f;
      v[i].color[3] = c.a / 255.0f;
    }
  }

  // The sprite's draw sequence: push, identity, translate, turn, scale, bind, four vertices, pop.
  static void DrawSprite(KV_HANDLE texture, const KV_VERTEX v[4], double x, double y,
                         double angle = 0, double sx = 1, double sy = 1) {
    KvMatrixPush();
    KvMatrixIdentity();
    KvMatrixTranslate(x, y, 0);
    KvMatrixRotate(0, 1, 0, 0);
    KvMatrixRotate(0, 0, 1, 0);
    KvMatrixRotate(angle, 0, 0, 1);
    KvMatrixScale(sx, sy, 1);
    if (texture.IsNull())
      KvTextureUnactivate(KV_TEXTURE_TARGET);
    else
      KvTextureActivate(texture);
    KvDrawDataStruct(KV_PRIM_QUADS, 0, 4, v, nullptr, 0, 0, 0, 0, 0, 0);
    KvMatrixPop();
  }
};
