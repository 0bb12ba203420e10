// The engine module's resource table and its registration.
#include "engine/module/resources.h"

#include "engine/numbers.h"
#include "platform/modules/module_registry.h"

namespace kv::engine {

// The intro logo, written by the data generator into the build (engine/resources/intro_logo.cmake).
extern const uint8_t kIntroLogo[];
extern const uint32_t kIntroLogoSize;

namespace {

constexpr const char* kModuleName = "Kelvo Core.dll";

// One line per resource: type, name, bytes.
std::vector<EngineResource> BuildTable() {
  return {{KV_RESOURCE_TYPE_IMAGE, KV_RESOURCE_LOGO, kIntroLogo, kIntroLogoSize}};
}

}  // namespace

const std::vector<EngineResource>& EngineResources() {
  static const std::vector<EngineResource> table = BuildTable();
  return table;
}

const EngineResource* FindEngineResource(uint32_t type, uint32_t id) {
  for (const EngineResource& resource : EngineResources()) {
    if (resource.type == type && resource.id == id) return &resource;
  }
  return nullptr;
}

bool RegisterEngineModule() {
  static bool registered = false;
  if (registered) return true;
  HMODULE module = platform::RegisterModule(kModuleName);
  if (module == nullptr) return false;
  for (const EngineResource& resource : EngineResources()) {
    platform::AddResource(module, resource.type, resource.id, resource.data, resource.size);
  }
  registered = true;
  return true;
}

}  // namespace kv::engine
