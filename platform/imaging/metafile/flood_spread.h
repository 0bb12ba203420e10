// The search of a flood fill: from a start pixel, the runs of pixels the fill takes in each row,
// connected sideways and up and down, each handed once to a target that fills it (in the picture
// itself, or in a mask painted afterwards). A pixel is taken when the clip shows it and its
// colour, as seen over white, is the fill's (a surface fill) or is not the border's (a border
// fill). The picture is read as cairo keeps it, a premultiplied 32-bit word a pixel; the spans
// still to look at wait on queues that the decode budget bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/imaging/metafile/flood_clip.h"
#include "platform/imaging/metafile/flood_target.h"
#include "platform/imaging/metafile/pixel_mask.h"

namespace platform::metafile {

// Which pixel words a fill takes, decided without a call: the fill's own colour and no colour
// at all are answered at once, other opaque colours too; only partly covered pixels are seen
// over white.
class FloodColor {
 public:
  // key: R, G, B in one word, as SeenOverWhite gives them; surface: the fill spreads over the
  // key's colour, else up to it.
  FloodColor(uint32_t key, bool surface)
      : key_(key),
        opaqueKey_(0xFF000000u | key),
        surface_(surface),
        clearTakes_((key == 0xFFFFFFu) == surface_) {}

  bool Takes(uint32_t pixel) const {
    if (pixel == opaqueKey_) return surface_;
    if (pixel >= 0xFF000000u) return !surface_;
    if (pixel == 0) return clearTakes_;
    return (SeenOverWhite(pixel) == key_) == surface_;
  }

 private:
  uint32_t key_, opaqueKey_;
  bool surface_, clearTakes_;
};

// The picture's pixels: rows of stride words, top row first.
struct FloodPicture {
  const uint32_t* pixels;
  size_t stride;
  int width, height;
};

class FloodSpread {
 public:
  FloodSpread(const FloodPicture& picture, const FloodClip& clip, FloodColor color,
              FloodTarget* target)
      : picture_(picture), clip_(clip), color_(color), target_(target) {}

  // Fills from (x, y), a pixel of the picture; nothing when the clip hides it or the fill does
  // not take it. False when the spans still to look at need more than the budget.
  bool From(int x, int y);

 private:
  // A pixel that starts a run to fill, the way (1 down, -1 up) to sweep from its row, and the
  // filled run of the row before it that it was found from (none, left past right, for the
  // first).
  struct Seed {
    int x, y, dir;
    PixelRun parent;
  };
  const uint32_t* Row(int y) const {
    return picture_.pixels + static_cast<size_t>(y) * picture_.stride;
  }
  // Has the target's memory of row y, when it is a row of the picture, made ready before the
  // sweep reads it.
  void Prepare(int y) {
    if (y >= 0 && y < picture_.height) target_->Prepare(y);
  }
  // Fills row after row in one direction from the seed. The runs found in the next row are
  // taken on the next pass, from left to right, so that the picture is read row by row; the runs
  // found back in the row before wait on the stack.
  bool Sweep(Seed seed);
  // Fills the run of row y that holds x; gives the run.
  PixelRun Take(int x, int y);
  // Queues on out the first pixel of each run of row y within `within` that the fill takes and
  // has not filled yet, found from the run parent, to be swept in direction dir.
  bool Look(PixelRun within, int y, int dir, PixelRun parent, std::vector<Seed>* out);
  // Queues a seed; false when the queue would need more than the budget.
  static bool Queue(std::vector<Seed>* to, int x, int y, int dir, PixelRun parent);

  FloodPicture picture_;
  const FloodClip& clip_;
  FloodColor color_;
  FloodTarget* target_;
  std::vector<Seed> todo_, wave_, next_;
  std::vector<PixelRun> shown_;
};

}  // namespace platform::metafile
