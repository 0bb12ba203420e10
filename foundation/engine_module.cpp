// The engine module, looked up by its name each time (the lookup is a short table walk).
#include "foundation/engine_module.h"

#include "platform/winapi/windows.h"

HMODULE KvEngineModule() { return GetModuleHandleA("Kelvo Core.dll"); }
