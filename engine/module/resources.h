// The resources the engine module "Kelvo Core.dll" carries, as the window-system layer's resource
// calls find them: the intro logo is resource KV_RESOURCE_LOGO of type KV_RESOURCE_TYPE_IMAGE, an
// image in .kvt format.
#pragma once

#include <cstdint>
#include <vector>

namespace kv::engine {

struct EngineResource {
  uint32_t type;
  uint32_t id;
  const uint8_t* data;
  uint32_t size;
};

// Every resource of the module.
const std::vector<EngineResource>& EngineResources();
// The resource of that type and id, or null.
const EngineResource* FindEngineResource(uint32_t type, uint32_t id);
// Registers the module and its resources with the window-system layer (once; later calls do
// nothing). False when the module cannot be registered.
bool RegisterEngineModule();

}  // namespace kv::engine
