// Modules by name and the resources they carry, registered in code (the engine registers its
// module "Kelvo Core.dll" with the intro logo). GetModuleHandleA and the resource calls read them.
// Modules and resources live until the process ends; resource bytes are copied in.
#pragma once

#include <cstdint>

#include "platform/winapi/types.h"

namespace platform {

// Registers a module under a name (compared without case) or returns the one already registered.
HMODULE RegisterModule(const char* name);
// Adds a copy of a resource (numeric type and id) to a module; false for a null module, null
// data with a size, or a type and id the module already has.
bool AddResource(HMODULE module, uintptr_t type, uintptr_t id, const void* data, DWORD size);

}  // namespace platform
