// Shared set-up of the graphics tests: a hidden window of the platform with an engine render
// target of 64 x 48 pixels, current and viewed with the plain 2D camera, and a scratch folder of
// the test's own as the working folder; helpers to write .kvt texture files and read pixels back.
// Every test ends with the call trace and forced failures cleared and the target and window
// destroyed.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/camera_pass.h"
#include "engine/kv_engine.h"
#include "engine/testing.h"
#include "platform/winapi/windows.h"
#include "scratch_folder.h"

namespace kvtest {

// RGBA pixels of a w x h image, top row first, every pixel the same colour.
inline std::vector<uint8_t> Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
  std::vector<uint8_t> pixels;
  for (int i = 0; i < w * h; ++i) pixels.insert(pixels.end(), {r, g, b, a});
  return pixels;
}

// The bytes of a .kvt file holding the pixels.
inline std::vector<uint8_t> KvtBytes(uint32_t w, uint32_t h, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> bytes = {'K', 'V', 'T', '1'};
  for (uint32_t word : {1u, w, h, 1u, (uint32_t)pixels.size()})
    for (int i = 0; i < 4; ++i) bytes.push_back((uint8_t)(word >> (8 * i)));
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// A .kvt file of one colour.
inline void WriteSolidKvt(const std::string& path, int w, int h, uint8_t r = 255, uint8_t g = 255,
                          uint8_t b = 255) {
  WriteFile(path, KvtBytes(w, h, Solid(w, h, r, g, b)));
}

inline LRESULT CALLBACK QuietProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace kvtest

class GraphicsTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 64;
  static constexpr int kHeight = 48;
  // Files a test names relative to the working folder land in a folder of the test's own.
  ScratchWorkingFolder workingFolder{"kv_graphics"};
  HWND window = nullptr;
  KV_HANDLE target;

  void SetUp() override {
    KvInitiation();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = kvtest::QuietProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Graphics Test";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "Graphics Test", "Graphics Test", WS_POPUP, 0, 0, kWidth, kHeight,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(KvRenderTargetCreate(&target, window, KV_FORMAT_OPAQUE, 32, 16), 1);
    ASSERT_EQ(KvRenderTargetArea(target, 0, 0, kWidth, kHeight, 45.0, -1.0, 1.0, 0.0), 1);
    KvRenderTargetActivate(target);
    KvSetState(KV_STATE_BLEND, 1);
    KvSetState(KV_STATE_BLEND_FUNC, (int)KV_BLEND_SRC_ALPHA, (int)KV_BLEND_ONE_MINUS_SRC_ALPHA);
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 1.0);
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    KvCameraOrtho(0, 0, kWidth, kHeight, 0);
  }

  void TearDown() override {
    kv::engine::testing::StopTrace();
    kv::engine::testing::ClearTrace();
    kv::engine::testing::ClearFailures();
    // The engine's states outlive the test: a camera pass's clipping must not reach the next one.
    KvSetState(KV_STATE_CLIP, 0);
    KvRenderTargetDestroy(target);
    if (window != nullptr) DestroyWindow(window);
  }

  // The pixel at (x, y), window pixels with y down, as 0xRRGGBBAA.
  static uint32_t Pixel(int x, int y) {
    std::vector<uint8_t> p = kv::engine::testing::ReadPixels(x, y, 1, 1);
    if (p.size() < 4) return 0;
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
  }

  // Starts drawing the way a 2D camera's pass does (see kvtest::BeginCameraPass).
  void BeginCameraPass() { kvtest::BeginCameraPass(target); }

  // The texture's pixel at (x, y), row 0 its first row, as 0xRRGGBBAA; 0 when it cannot be read.
  static uint32_t TexturePixel(KV_HANDLE texture, int x, int y) {
    const auto* width = static_cast<const uint32_t*>(KvTextureGet(texture, KV_TEX_WIDTH));
    const auto* p = static_cast<const uint8_t*>(KvTextureLock(texture, KV_LOCK_READ));
    uint32_t pixel = 0;
    if (p != nullptr && width != nullptr) {
      p += ((size_t)y * *width + (size_t)x) * 4;
      pixel = (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
    }
    KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
    return pixel;
  }

  // The calls recorded whose text starts with prefix, in order.
  static std::vector<std::string> Calls(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& call : kv::engine::testing::TracedCalls())
      if (call.rfind(prefix, 0) == 0) found.push_back(call);
    return found;
  }
};
