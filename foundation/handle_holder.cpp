// The handle holder and the engine module lookup.
#include "foundation/handle_holder.h"

#include "platform/winapi/windows.h"

KV_HANDLE_HOLDER::KV_HANDLE_HOLDER() : handle() {}

KV_HANDLE_HOLDER::KV_HANDLE_HOLDER(const KV_HANDLE* source) : handle() {
  if (source != nullptr) handle = *source;
}

void KV_HANDLE_HOLDER::Set(const KV_HANDLE* source) {
  if (source != nullptr) handle = *source;
}

void KV_HANDLE_HOLDER::Get(KV_HANDLE* target) const {
  if (target != nullptr) *target = handle;
}

bool KV_HANDLE_HOLDER::IsNull() const { return handle.IsNull(); }

HMODULE KvEngineModule() { return GetModuleHandleA("Kelvo Core.dll"); }
