// KV_XML_TEXT_POOL: the blocks that hold a document's parsed text, and the few blocks each
// thread keeps for the next document. A freshly mapped page costs a fault and a clearing by the
// system, and where memory is charged per page, a charge too; a reader that gives its text back
// to the system after each document pays all of that again for every file. The kept blocks are
// only the thread's own, so no lock is needed and two threads never hand each other a block.
#include <cstddef>

#include "foundation/xml.h"

#if defined(__has_include)
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#endif
#endif
#ifndef ASAN_POISON_MEMORY_REGION
#define ASAN_POISON_MEMORY_REGION(address, size) ((void)(address), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(address, size) ((void)(address), (void)(size))
#endif

namespace {

typedef KV_XML_TEXT_POOL::BLOCK BLOCK;

// How much a thread keeps: a few blocks, so that two or three documents read side by side all
// find one, and no more bytes than a large theme or layout needs; a larger block goes back.
constexpr size_t kKeptBlocks = 4;
constexpr size_t kKeptBytes = 64u << 20;
// Blocks of at least this size are rounded up to whole pages, so a document that grows a little
// between two reads still fits the block the last read left.
constexpr size_t kRoundFrom = 64u << 10;
constexpr size_t kPage = 4096;

// The thread's kept blocks. Plain data, so it stays usable while the thread is ending: a document
// destroyed after the thread's clean-up (a static one, at exit) finds it closed and frees its
// blocks at once instead.
struct KEPT {
  BLOCK blocks[kKeptBlocks];
  size_t count;
  size_t bytes;
  bool closed;
};
thread_local KEPT kept;

// Releases the kept blocks when the thread ends. Its destructor is registered when the thread
// first keeps a block.
struct KEPT_RELEASE {
  bool armed = false;
  ~KEPT_RELEASE() {
    for (size_t i = 0; i < kept.count; ++i) {
      ASAN_UNPOISON_MEMORY_REGION(kept.blocks[i].bytes, kept.blocks[i].size);
      delete[] kept.blocks[i].bytes;
    }
    kept.count = 0;
    kept.bytes = 0;
    kept.closed = true;
  }
};
thread_local KEPT_RELEASE keptRelease;

// Takes the smallest kept block of at least size bytes, unless it is more than four times
// what is asked (a small document then gets a block of its own and leaves the large one to a
// large document); a block of size zero when none fits.
BLOCK TakeKept(size_t size) {
  size_t best = kept.count;
  for (size_t i = 0; i < kept.count; ++i) {
    size_t have = kept.blocks[i].size;
    if (have < size || have / 4 > size) continue;
    if (best == kept.count || have < kept.blocks[best].size) best = i;
  }
  if (best == kept.count) return BLOCK{nullptr, 0};
  BLOCK block = kept.blocks[best];
  kept.blocks[best] = kept.blocks[--kept.count];
  kept.bytes -= block.size;
  // While kept, the block is out of bounds for the address sanitizer; now it is in use again.
  ASAN_UNPOISON_MEMORY_REGION(block.bytes, block.size);
  return block;
}

// Keeps the block for the thread's next document, or frees it when it does not fit what the
// thread keeps; the smallest kept block makes room for a larger one.
void Keep(BLOCK block) {
  ASAN_UNPOISON_MEMORY_REGION(block.bytes, block.size);
  // Touching the thread's clean-up object makes it exist, so that it runs when the thread ends.
  keptRelease.armed = true;
  if (kept.closed || block.size > kKeptBytes) {
    delete[] block.bytes;
    return;
  }
  while (kept.count != 0 && (kept.count == kKeptBlocks || kept.bytes + block.size > kKeptBytes)) {
    size_t smallest = 0;
    for (size_t i = 1; i < kept.count; ++i)
      if (kept.blocks[i].size < kept.blocks[smallest].size) smallest = i;
    if (kept.blocks[smallest].size >= block.size) {
      delete[] block.bytes;
      return;
    }
    BLOCK out = kept.blocks[smallest];
    kept.blocks[smallest] = kept.blocks[--kept.count];
    kept.bytes -= out.size;
    ASAN_UNPOISON_MEMORY_REGION(out.bytes, out.size);
    delete[] out.bytes;
  }
  ASAN_POISON_MEMORY_REGION(block.bytes, block.size);
  kept.blocks[kept.count++] = block;
  kept.bytes += block.size;
}

}  // namespace

char* KV_XML_TEXT_POOL::Block(size_t size) {
  size_t rounded = size >= kRoundFrom ? (size + kPage - 1) / kPage * kPage : size;
  BLOCK block = TakeKept(rounded);
  if (block.bytes == nullptr) block = BLOCK{new char[rounded], rounded};
  try {
    blocks.push_back(block);
  } catch (...) {
    Keep(block);
    throw;
  }
  // The bytes past those asked for stay out of bounds for the sanitizer, as the end of a block
  // of exactly that size would be.
  ASAN_POISON_MEMORY_REGION(block.bytes + size, block.size - size);
  return block.bytes;
}

void KV_XML_TEXT_POOL::DropLast() {
  if (blocks.empty()) return;
  Keep(blocks.back());
  blocks.pop_back();
}

void KV_XML_TEXT_POOL::Free() {
  for (const BLOCK& block : blocks) Keep(block);
  blocks.clear();
}
