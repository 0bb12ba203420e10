// KvEngineModule: the module of the engine library "Kelvo Core.dll", found by name among the
// modules the window-system layer knows. Its resources carry the intro logo.
#pragma once

#include "platform/winapi/types.h"

// The engine library's module; null when it is not registered.
HMODULE KvEngineModule();
