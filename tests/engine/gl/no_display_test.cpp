// The engine's GL context on a machine whose display cannot be opened: a texture made before any
// window is refused, and it does not start an invisible display that windows would then use.
// The case runs in a fresh process of its own (video starts once per process).
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/kv_engine.h"
#include "platform/winapi/windows.h"

namespace {

bool WindowCanBeMade() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "Engine No Display";
  if (!RegisterClassA(&windowClass)) return false;
  return CreateWindowExA(0, "Engine No Display", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr,
                         nullptr, nullptr) != nullptr;
}

}  // namespace

TEST(EngineNoDisplay, ATextureBeforeAnyWindowDoesNotStartAnInvisibleDisplay) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("WAYLAND_DISPLAY");
        setenv("DISPLAY", ":4093", 1);
        KvInitiation();
        KV_HANDLE texture{};
        bool textureMade =
            KvTextureCreate(&texture) != 0 && KvTextureLoadEmpty(texture, 4, 4, 0) != 0;
        std::exit(!textureMade && !WindowCanBeMade() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "cannot open the display \":4093\"");
}
