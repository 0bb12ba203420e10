// The engine module is found by its name once registered.
#include <gtest/gtest.h>

#include "foundation/engine_module.h"
#include "platform/modules/module_registry.h"

TEST(EngineModule, IsTheRegisteredKelvoCore) {
  HMODULE module = platform::RegisterModule("Kelvo Core.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(KvEngineModule(), module);
}
