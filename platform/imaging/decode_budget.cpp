// Block limits for decodes, kept per thread.
#include "platform/imaging/decode_budget.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace platform::imaging {

namespace {

constexpr size_t kNoLimit = SIZE_MAX;
constexpr uint64_t kLargestSide = 1u << 24;  // the decoder refuses longer sides itself
constexpr uint64_t kTables = 1u << 20;

thread_local size_t blockLimit = kNoLimit;

}  // namespace

size_t DecodeBlockLimit(int w, int h, size_t fileSize) {
  uint64_t width = std::clamp<int64_t>(w, 0, kLargestSide);
  uint64_t height = std::clamp<int64_t>(h, 0, kLargestSide);
  uint64_t limit =
      16 * (width + 16) * (height + 16) + 2 * static_cast<uint64_t>(fileSize) + kTables;
  return static_cast<size_t>(std::min<uint64_t>(limit, kNoLimit));
}

// A decode inside another (a bitmap or metafile held in a metafile) takes no more than the one
// around it allows.
DecodeBudget::DecodeBudget(size_t limit) : outer_(blockLimit) {
  blockLimit = std::min(limit, outer_);
}
DecodeBudget::~DecodeBudget() { blockLimit = outer_; }

// Blocks come cleared: a damaged JPEG that lacks the scan of one of its colour components leaves
// that component's block unwritten, and its picture must not depend on what the memory held.
void* BudgetMalloc(size_t size) { return size <= blockLimit ? std::calloc(1, size) : nullptr; }

bool FitsBudget(size_t size) { return size <= blockLimit; }

size_t BlockLimit() { return blockLimit; }

void* BudgetRealloc(void* block, size_t size) {
  return size <= blockLimit ? std::realloc(block, size) : nullptr;
}

}  // namespace platform::imaging
