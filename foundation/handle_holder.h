// KV_HANDLE_HOLDER: holds one engine handle (built holding the null handle) and copies it in and
// out through pointers.
#pragma once

#include "engine/kv_engine.h"

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
