// The handle holder: copies through pointers, null pointers ignored.
#include "foundation/handle_holder.h"

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
