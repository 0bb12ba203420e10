// The most memory one decode may take in a single block, from the picture its header describes
// and the file's length. stb_image allocates its buffers from the header's sides, except the
// PNG decoder's output buffer, which doubles for as long as the compressed data keeps coming: a
// 1 x 1 PNG whose data inflates to a gigabyte would take it all before failing. Every block the
// decoder asks for is checked against the budget of the decode in progress (on this thread) and
// refused above it, and the decoder then fails as when memory runs out.
#pragma once

#include <cstddef>

namespace platform::imaging {

// The largest block a decode of a w x h picture from a file of fileSize bytes needs: eight bytes
// a pixel twice over (a 16-bit RGBA PNG's inflated rows, which may double once for interlacing),
// the sides rounded up to whole JPEG blocks, the compressed data gathered from a PNG's chunks
// (twice the file at most), and a megabyte for the decoders' tables.
size_t DecodeBlockLimit(int w, int h, size_t fileSize);

// Puts a block limit in force on this thread for its lifetime; inside another budget, the lower
// of the two.
class DecodeBudget {
 public:
  explicit DecodeBudget(size_t limit);
  ~DecodeBudget();
  DecodeBudget(const DecodeBudget&) = delete;
  DecodeBudget& operator=(const DecodeBudget&) = delete;

 private:
  size_t outer_;
};

// malloc (clearing the block) and realloc under the limit in force (none outside a
// DecodeBudget): null above it.
void* BudgetMalloc(size_t size);
// Whether a block of size bytes is within the limit in force, for a decoder that needs its
// blocks uncleared.
bool FitsBudget(size_t size);
// The limit in force: SIZE_MAX outside a DecodeBudget.
size_t BlockLimit();
void* BudgetRealloc(void* block, size_t size);

}  // namespace platform::imaging
