// KV_NODE_POOL: where list nodes live. Nodes of one size are carved from large chunks
// and a released node goes onto a free list for the next one, so building and tearing
// down a list of a hundred thousand elements costs a few hundred heap calls instead of
// two hundred thousand. Chunks are never given back: they stay reachable from the pool
// and are reused for the rest of the program. One thread, like the lists themselves.
// Under AddressSanitizer every node is a heap block of its own again, so a node used
// after its list let it go is still caught.
#pragma once

#include <cstddef>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define KV_NODE_POOL_ENABLED 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_NODE_POOL_ENABLED 0
#endif
#endif
#ifndef KV_NODE_POOL_ENABLED
#define KV_NODE_POOL_ENABLED 1
#endif

// One pool per node size and alignment; every list whose nodes have that size shares it.
template <size_t SIZE, size_t ALIGN>
class KV_NODE_POOL {
 public:
  // Storage for one node; never null (allocation failure ends the process, as new does).
  static void* Take() {
#if KV_NODE_POOL_ENABLED
    if (freeList == nullptr) Grow();
    SLOT* slot = freeList;
    freeList = slot->next;
    return slot;
#else
    return ::operator new(SIZE, std::align_val_t(ALIGN));
#endif
  }

  // Gives a node's storage back for the next Take; null is ignored.
  static void Give(void* p) {
    if (p == nullptr) return;
#if KV_NODE_POOL_ENABLED
    SLOT* slot = static_cast<SLOT*>(p);
    slot->next = freeList;
    freeList = slot;
#else
    ::operator delete(p, std::align_val_t(ALIGN));
#endif
  }

 private:
  union SLOT {
    SLOT* next;  // while free: the next free slot
    alignas(ALIGN) unsigned char bytes[SIZE];
  };

  // Slots per chunk: about 64 KB, at least 16. A chunk's first slot holds the link to
  // the chunk made before it, so every chunk stays reachable from the pool.
  static constexpr size_t kSlots = 65536 / sizeof(SLOT) > 16 ? 65536 / sizeof(SLOT) : 16;

  static void Grow() {
    SLOT* chunk =
        static_cast<SLOT*>(::operator new(kSlots * sizeof(SLOT), std::align_val_t(alignof(SLOT))));
    chunk[0].next = chunks;
    chunks = chunk;
    // Linked so that Take hands the slots out in address order.
    for (size_t i = kSlots - 1; i > 0; --i) {
      chunk[i].next = freeList;
      freeList = &chunk[i];
    }
  }

  static inline SLOT* freeList = nullptr;
  static inline SLOT* chunks = nullptr;  // the newest chunk
};
