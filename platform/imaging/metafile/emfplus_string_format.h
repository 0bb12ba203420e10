// EMF+ string format objects: how DrawString lays its text out in the layout rectangle. Lines
// align near, in the centre or far across and down; they wrap at word breaks unless the format
// says not to; text is clipped to the rectangle unless the format says not to; right-to-left
// text swaps the near and far sides; margins before and after each line are measured in ems,
// and tab stops in world units. Digit substitution, hot-key prefixes, trimming, tracking,
// character ranges and vertical text are not read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform::metafile {

enum PlusAlignment : uint32_t { kAlignNear = 0, kAlignCentre = 1, kAlignFar = 2 };

enum : uint32_t {
  kFormatRightToLeft = 0x0001,
  kFormatNoWrap = 0x1000,
  kFormatNoClip = 0x4000,
};

struct PlusStringFormat {
  uint32_t flags = 0;
  uint32_t align = kAlignNear, lineAlign = kAlignNear;
  // The space before and after each line, in ems: a sixth of one unless the format says.
  double leading = 1.0 / 6, trailing = 1.0 / 6;
  // Tab stops: the first at firstTab plus the first distance, each of the others a distance
  // after the one before; past the last, at the last distance again.
  double firstTab = 0;
  std::vector<double> tabs;
};

// Reads an EmfPlusStringFormat object; null when it is cut short, a float is not finite, or its
// tab stops or character ranges run past it.
std::shared_ptr<const PlusStringFormat> ReadStringFormat(const uint8_t* data, size_t size);

}  // namespace platform::metafile
