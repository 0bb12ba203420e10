// KV_RESOURCE: finding, loading and locking one resource block of a module.
#include "core/resource.h"

bool KV_RESOURCE::Load(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC found = FindResourceA(module, name, type);
  handle = LoadResource(module, found);
  if (handle == nullptr) return false;
  data = LockResource(handle);
  // The size is asked of the resource found afresh, as the block was located the first time.
  size = SizeofResource(module, FindResourceA(module, name, type));
  if (data == nullptr || size == 0) {
    Free();
    return false;
  }
  return true;
}

void KV_RESOURCE::Free() {
  if (handle != nullptr) FreeResource(handle);
}
