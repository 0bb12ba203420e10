// One frame through giflib's writer.
#include "platform/imaging/gif_encode.h"

#include <gif_lib.h>

#include <vector>

#include "platform/imaging/indexed_picture.h"

namespace platform::imaging {

namespace {

constexpr int kLongestSide = 65535;
constexpr int kColourResolution = 8;

int Append(GifFileType* gif, const GifByteType* bytes, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
  return length;
}

// A GIF colour table has a power of two entries, 2 at least; the rest are black.
ColorMapObject* ColourTable(const IndexedPicture& picture) {
  int size = 2;
  while (size < static_cast<int>(picture.colours.size())) size *= 2;
  std::vector<GifColorType> colours(size, GifColorType{0, 0, 0});
  for (size_t i = 0; i < picture.colours.size(); ++i)
    colours[i] = GifColorType{picture.colours[i].r, picture.colours[i].g, picture.colours[i].b};
  return GifMakeMapObject(size, colours.data());
}

bool WriteFrame(GifFileType* gif, const IndexedPicture& picture, int w, int h) {
  ColorMapObject* table = ColourTable(picture);
  if (table == nullptr) return false;
  EGifSetGifVersion(gif, true);  // the graphic control block is GIF89a's
  bool written = EGifPutScreenDesc(gif, w, h, kColourResolution, 0, table) == GIF_OK;
  GifFreeMapObject(table);  // the writer keeps a copy
  if (written && picture.transparent >= 0) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, picture.transparent};
    GifByteType block[4];
    EGifGCBToExtension(&control, block);
    written = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof block, block) == GIF_OK;
  }
  written = written && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> row(w);
  for (int y = 0; written && y < h; ++y) {
    const uint8_t* indices = picture.indices.data() + static_cast<size_t>(y) * w;
    row.assign(indices, indices + w);
    written = EGifPutLine(gif, row.data(), w) == GIF_OK;
  }
  return written;
}

}  // namespace

bool EncodeGif(const uint8_t* rgba, int w, int h, std::string* out) {
  if (rgba == nullptr || w < 1 || h < 1 || w > kLongestSide || h > kLongestSide) return false;
  IndexedPicture picture = ToIndexed(rgba, static_cast<size_t>(w) * h);
  out->clear();
  int error = 0;
  GifFileType* gif = EGifOpen(out, Append, &error);
  if (gif == nullptr) return false;
  bool written = WriteFrame(gif, picture, w, h);
  // Closing writes the trailer and frees the writer, whether or not the frame was written.
  bool closed = EGifCloseFile(gif, &error) == GIF_OK;
  return written && closed && !out->empty();
}

}  // namespace platform::imaging
