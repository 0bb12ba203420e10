// KV_HANDLE_HOLDER: holds one engine handle (built holding the null handle), and
// KvEngineModule, the engine library's module, whose resources carry the intro logo.
#pragma once

#include "engine/kv_engine.h"
#include "platform/winapi/types.h"

class KV_HANDLE_HOLDER {
 public:
  KV_HANDLE handle;

  // Holds the null handle.
  KV_HANDLE_HOLDER();
  // Holds a copy of *source; the null handle when source is null.
  explicit KV_HANDLE_HOLDER(const KV_HANDLE* source);

  // Copies *source in; nothing for null.
  void Set(const KV_HANDLE* source);
  // Copies the handle out to *target; nothing for null.
  void Get(KV_HANDLE* target) const;
  // True when the handle names no object.
  bool IsNull() const;
};

// The module of the engine library "Kelvo Core.dll"; null when it is not registered.
HMODULE KvEngineModule();
