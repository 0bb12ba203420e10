// KV_RESOURCE: a view of one resource block of a loaded module (the engine module carries the
// intro logo this way). It borrows the block: the module owns the bytes, and Free only hands the
// resource back to the window system. Built empty: no handle, no data, size 0.
#pragma once

#include <cstdint>

#include "platform/winapi/windows.h"

class KV_RESOURCE {
 public:
  HGLOBAL handle = nullptr;    // what LoadResource gave; null when loading failed
  const void* data = nullptr;  // the locked block
  uint32_t size = 0;           // its size in bytes

  // Finds, loads and locks the resource (name and type may be MAKEINTRESOURCE numbers); false
  // when it cannot be found or loaded, or when the block is empty (then it is freed again).
  bool Load(HMODULE module, LPCSTR name, LPCSTR type);
  // Hands the resource back when a handle is held; the fields stay as they are.
  void Free();
  // The block and its size as Load left them.
  const void* GetData() const { return data; }
  uint32_t GetSize() const { return size; }
  // True when there is no block: a null data pointer or a size of 0.
  bool IsEmpty() const { return data == nullptr || size == 0; }
};
