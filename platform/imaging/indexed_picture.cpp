// Exact colour tables where they fit, median cut where they do not.
#include "platform/imaging/indexed_picture.h"

#include <unordered_map>

namespace platform::imaging {

namespace {

constexpr size_t kMostColours = 256;

bool IsTransparent(const uint8_t* pixel) { return pixel[3] < 128; }

uint32_t Key(const uint8_t* pixel) {
  return static_cast<uint32_t>(pixel[0]) << 16 | static_cast<uint32_t>(pixel[1]) << 8 | pixel[2];
}

Rgb ColourOf(const uint8_t* pixel) { return Rgb{pixel[0], pixel[1], pixel[2]}; }

// Every opaque colour in the order it first appears, with whether any pixel is transparent;
// false, with the table left part-filled, once there are more than fit beside that.
bool ExactTable(const uint8_t* rgba, size_t count, IndexedPicture* out,
                std::unordered_map<uint32_t, uint8_t>* index) {
  bool transparent = false;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* pixel = rgba + i * 4;
    if (IsTransparent(pixel)) {
      transparent = true;
    } else if (index->find(Key(pixel)) == index->end()) {
      if (index->size() == kMostColours) return false;
      index->emplace(Key(pixel), static_cast<uint8_t>(out->colours.size()));
      out->colours.push_back(ColourOf(pixel));
    }
    if (out->colours.size() + (transparent ? 1 : 0) > kMostColours) return false;
  }
  if (transparent) {
    out->transparent = static_cast<int>(out->colours.size());
    out->colours.push_back(Rgb{});
  }
  return true;
}

// A reduced table for the opaque colours, one entry kept back for transparency when needed;
// each colour's nearest entry is looked up once.
void ReducedTable(const uint8_t* rgba, size_t count, IndexedPicture* out,
                  std::unordered_map<uint32_t, uint8_t>* index) {
  MedianCut cut;
  bool transparent = false;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* pixel = rgba + i * 4;
    if (IsTransparent(pixel))
      transparent = true;
    else
      cut.Add(ColourOf(pixel));
  }
  out->colours = cut.Palette(kMostColours - (transparent ? 1 : 0));
  index->clear();
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* pixel = rgba + i * 4;
    if (IsTransparent(pixel)) continue;
    auto found = index->find(Key(pixel));
    if (found == index->end()) {
      size_t nearest = NearestColour(out->colours, ColourOf(pixel));
      index->emplace(Key(pixel), static_cast<uint8_t>(nearest));
    }
  }
  if (transparent) {
    out->transparent = static_cast<int>(out->colours.size());
    out->colours.push_back(Rgb{});
  }
}

}  // namespace

IndexedPicture ToIndexed(const uint8_t* rgba, size_t count) {
  IndexedPicture picture;
  std::unordered_map<uint32_t, uint8_t> index;
  if (!ExactTable(rgba, count, &picture, &index)) {
    picture = IndexedPicture{};
    ReducedTable(rgba, count, &picture, &index);
  }
  picture.indices.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* pixel = rgba + i * 4;
    picture.indices[i] =
        IsTransparent(pixel) ? static_cast<uint8_t>(picture.transparent) : index.at(Key(pixel));
  }
  return picture;
}

}  // namespace platform::imaging
