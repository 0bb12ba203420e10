// The table behind module handles: one record per module, each with its resources.
// Internal to platform/; handles are the records' addresses, which never move or die.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/winapi/types.h"

namespace platform {

struct ResourceRecord {
  uintptr_t type;
  uintptr_t id;
  std::vector<unsigned char> bytes;
};

struct ModuleRecord {
  std::string name;
  std::vector<ResourceRecord*> resources;
};

// The program's own module (what GetModuleHandleA(null) gives).
ModuleRecord* ProgramModule();
// The module behind a handle (null handle: the program); null when the handle is unknown.
ModuleRecord* FindModule(HMODULE module);
// A registered module by name, compared without case; null when none.
ModuleRecord* FindModuleByName(const char* name);
// Whether a resource record belongs to a module.
bool OwnsResource(const ModuleRecord& module, const ResourceRecord* resource);
// The resource record a handle (an icon's, say) stands for; null when no module has it.
const ResourceRecord* KnownResource(const void* handle);

}  // namespace platform
