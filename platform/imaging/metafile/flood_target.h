// Where a flood fill's runs go: straight into the picture's pixels as one colour, with a bit a
// pixel that keeps which are filled (a filled pixel may still be of a colour the fill takes), or
// onto a mask to be painted with the brush afterwards. The bits come from the decode budget; the
// picture and the mask are borrowed. Its calls are inline: a fill of many short runs makes them
// tens of millions of times.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/imaging/metafile/pixel_mask.h"

namespace platform::metafile {

class FloodTarget {
 public:
  // Fills the picture's pixels with word (premultiplied, as cairo keeps them).
  FloodTarget(cairo_surface_t* picture, uint32_t word);
  // Sets the filled pixels on the mask, which covers the picture.
  explicit FloodTarget(PixelMask* mask)
      : mask_(mask), prepared_(static_cast<size_t>(mask->Height())) {}
  ~FloodTarget();
  FloodTarget(const FloodTarget&) = delete;
  FloodTarget& operator=(const FloodTarget&) = delete;

  // False when the budget refused the bits.
  bool Ready() const { return mask_ != nullptr || bits_ != nullptr; }

  // Has the system hand over the memory of row y (of the picture, or of the mask) before the fill
  // first reads it. Rows where nothing is drawn yet have no memory of their own: read first and
  // written after, each page is given twice over (first shared and blank, then its own). A fill
  // of a whole empty picture of 16384 x 16384 pixels took 0.81 s so, and 0.47 s asking for each
  // row's pages at once.
  void Prepare(int y) {
    if (prepared_[static_cast<size_t>(y)]) return;
    prepared_[static_cast<size_t>(y)] = true;
    if (mask_ != nullptr)
      Populate(mask_->Row(y), static_cast<size_t>(mask_->Width()));
    else
      Populate(pixels_ + static_cast<size_t>(y) * stride_, stride_ * 4);
  }

  // Whether pixel (x, y) is filled.
  bool Filled(int x, int y) const {
    if (mask_ != nullptr) return mask_->Row(y)[x] != 0;
    return Bits(y)[x / 64] >> (x % 64) & 1;
  }

  // Fills pixels left to right of row y, both included.
  void Fill(int y, int left, int right) {
    if (mask_ != nullptr) {
      std::memset(mask_->Row(y) + left, 0xff, static_cast<size_t>(right - left + 1));
      return;
    }
    uint32_t* row = pixels_ + static_cast<size_t>(y) * stride_;
    std::fill(row + left, row + right + 1, word_);
    SetBits(Bits(y), left, right);
  }

 private:
  // Asks for the pages of [begin, begin + bytes) writable now; where the system cannot, they come
  // on first use as before.
  static void Populate(const void* begin, size_t bytes);
  uint64_t* Bits(int y) const { return bits_ + static_cast<size_t>(y) * words_; }
  static void SetBits(uint64_t* bits, int left, int right) {
    int first = left / 64, last = right / 64;
    uint64_t head = ~uint64_t{0} << (left % 64), tail = ~uint64_t{0} >> (63 - right % 64);
    if (first == last) {
      bits[first] |= head & tail;
      return;
    }
    bits[first] |= head;
    std::fill(bits + first + 1, bits + last, ~uint64_t{0});
    bits[last] |= tail;
  }

  PixelMask* mask_ = nullptr;
  uint32_t* pixels_ = nullptr;
  size_t stride_ = 0, words_ = 0;  // the picture's row and the bits' row, in their words
  uint32_t word_ = 0;
  uint64_t* bits_ = nullptr;
  std::vector<bool> prepared_;  // the rows Prepare asked for
};

}  // namespace platform::metafile
