// Reducing the colours of a picture to a palette of a few: median cut, refined. The colours are
// gathered in cells of 6 bits a channel that remember the mean of what fell in them; the box of
// cells with the largest squared error is split, along the channel that spreads most, where the
// two halves' squared errors add up least; the boxes' means are then improved by a few rounds of
// moving each cell to its nearest palette colour and each colour to the mean of its cells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::imaging {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

class MedianCut {
 public:
  // Counts one pixel's colour.
  void Add(Rgb colour);
  // A palette of at most `most` colours (at least 1) for the colours added; empty when none
  // were.
  std::vector<Rgb> Palette(size_t most) const;

 private:
  struct Cell {
    uint64_t count = 0;
    uint64_t r = 0, g = 0, b = 0;  // sums
  };
  std::vector<Cell> cells_ = std::vector<Cell>(size_t{1} << 18);
};

// The index of the palette colour nearest to a colour (by squared distance; the first of equals).
size_t NearestColour(const std::vector<Rgb>& palette, Rgb colour);

}  // namespace platform::imaging
