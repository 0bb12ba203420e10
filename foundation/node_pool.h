// KV_NODE_POOL: where list nodes live. Nodes of one size are carved from large chunks
// and a released node's storage is kept for the next one, so building and tearing
// down a list of a hundred thousand elements costs a few hundred heap calls instead of
// two hundred thousand, and a document read after another reuses the pages of the last
// one instead of faulting fresh ones in. Chunks are never given back: they stay reachable
// from the pool and are reused for the rest of the program. One thread, like the lists
// themselves. Under AddressSanitizer every node is a heap block of its own again, so a
// node used after its list let it go is still caught.
#pragma once

#include <cstddef>
#include <cstring>
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
// The free slots are kept as a stack of addresses rather than a chain through the slots: a
// chain makes every Take wait for the slot it pops to come in from memory before the next
// one is known, while the stack is read in order and the slot to come can be fetched ahead.
template <size_t SIZE, size_t ALIGN>
class KV_NODE_POOL {
 public:
  // Storage for one node; never null (allocation failure ends the process, as new does).
  static void* Take() {
#if KV_NODE_POOL_ENABLED
    if (freeCount == 0) Grow();
    void* slot = freeSlots[--freeCount];
    // The next Take's slot is asked for now, so that it has arrived by the time it is built.
    if (freeCount != 0) {
      char* next = static_cast<char*>(freeSlots[freeCount - 1]);
      __builtin_prefetch(next, 1);
      __builtin_prefetch(next + SIZE - 1, 1);
    }
    return slot;
#else
    return ::operator new(SIZE, std::align_val_t(ALIGN));
#endif
  }

  // Gives a node's storage back for the next Take; null is ignored. Never allocates: the
  // stack has room for every slot the pool owns.
  static void Give(void* p) {
    if (p == nullptr) return;
#if KV_NODE_POOL_ENABLED
    freeSlots[freeCount++] = p;
#else
    ::operator delete(p, std::align_val_t(ALIGN));
#endif
  }

 private:
  union SLOT {
    SLOT* next;  // in a chunk's first slot: the chunk made before it
    alignas(ALIGN) unsigned char bytes[SIZE];
  };

  // Slots per chunk: about 64 KB, at least 16. A chunk's first slot holds the link to
  // the chunk made before it, so every chunk stays reachable from the pool. Chunks start
  // on a cache line, so a node of 64 bytes fills exactly one.
  static constexpr size_t kSlots = 65536 / sizeof(SLOT) > 16 ? 65536 / sizeof(SLOT) : 16;
  static constexpr size_t kChunkAlign = alignof(SLOT) > 64 ? alignof(SLOT) : 64;

  static void Grow() {
    SLOT* chunk =
        static_cast<SLOT*>(::operator new(kSlots * sizeof(SLOT), std::align_val_t(kChunkAlign)));
    size_t owned = ownedSlots + kSlots - 1;
    if (owned > capacity) {
      size_t grown = capacity * 2 > owned ? capacity * 2 : owned;
      void** stack;
      try {
        stack = static_cast<void**>(::operator new(grown * sizeof(void*)));
      } catch (...) {
        ::operator delete(chunk, std::align_val_t(kChunkAlign));
        throw;
      }
      if (freeCount != 0) memcpy(stack, freeSlots, freeCount * sizeof(void*));
      ::operator delete(freeSlots);
      freeSlots = stack;
      capacity = grown;
    }
    chunk[0].next = chunks;
    chunks = chunk;
    ownedSlots = owned;
    // Stacked so that Take hands the slots out in address order.
    for (size_t i = kSlots - 1; i > 0; --i) freeSlots[freeCount++] = &chunk[i];
  }

  static inline void** freeSlots = nullptr;  // the free slots; the top is taken first
  static inline size_t freeCount = 0;
  static inline size_t capacity = 0;     // room in freeSlots
  static inline size_t ownedSlots = 0;   // slots of every chunk, links left out
  static inline SLOT* chunks = nullptr;  // the newest chunk
};
