// Decoding the first image of a GIF file with giflib.
#include "platform/imaging/gif_decode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace platform::imaging {

namespace {

constexpr size_t kHeaderSize = 10;  // signature and version, then the screen's sides

uint32_t Le16(const uint8_t* p) { return static_cast<uint32_t>(p[1]) << 8 | p[0]; }

// The file, read in the pieces giflib asks for; an ask past the end is noted and fails.
struct Source {
  const uint8_t* data;
  size_t size;
  size_t at;
  bool pastEnd;
};

int Read(GifFileType* gif, GifByteType* out, int count) {
  auto* source = static_cast<Source*>(gif->UserData);
  size_t wanted = count > 0 ? static_cast<size_t>(count) : 0;
  size_t given = std::min(wanted, source->size - source->at);
  if (given < wanted) source->pastEnd = true;
  if (given > 0) std::memcpy(out, source->data + source->at, given);
  source->at += given;
  return static_cast<int>(given);
}

struct OpenGif {
  GifFileType* gif = nullptr;
  ~OpenGif() {
    int error = 0;
    if (gif != nullptr) DGifCloseFile(gif, &error);
  }
};

// Reads an extension; the first block of a graphic control extension gives the transparent
// colour (the last such extension before the image counts).
bool ReadExtension(GifFileType* gif, int* transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] == 4) {
    GraphicsControlBlock control;
    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
      *transparent = control.TransparentColor;
  }
  while (block != nullptr)
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  return true;
}

// Reads records up to the first image's descriptor; false when the file ends or breaks first.
bool ReachImage(GifFileType* gif, int* transparent) {
  for (;;) {
    GifRecordType record;
    if (DGifGetRecordType(gif, &record) == GIF_ERROR) return false;
    if (record == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) == GIF_OK;
    if (record != EXTENSION_RECORD_TYPE || !ReadExtension(gif, transparent)) return false;
  }
}

void FillBackground(const GifFileType* gif, std::vector<uint8_t>* rgba) {
  const ColorMapObject* colours = gif->SColorMap;
  int index = gif->SBackGroundColor;
  if (colours == nullptr || index <= 0 || index >= colours->ColorCount) return;
  const GifColorType& colour = colours->Colors[index];
  for (size_t i = 0; i < rgba->size(); i += 4) {
    (*rgba)[i] = colour.Red;
    (*rgba)[i + 1] = colour.Green;
    (*rgba)[i + 2] = colour.Blue;
    (*rgba)[i + 3] = 255;
  }
}

// The image's rows onto the canvas, in the order the file stores them (interlaced files in four
// passes).
bool ReadRows(GifFileType* gif, int transparent, int screenWidth, uint8_t* canvas) {
  const GifImageDesc& image = gif->Image;
  const ColorMapObject* colours = image.ColorMap != nullptr ? image.ColorMap : gif->SColorMap;
  static const int kFirst[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  static const int kPlainFirst[1] = {0}, kPlainStep[1] = {1};
  const int* first = image.Interlace ? kFirst : kPlainFirst;
  const int* step = image.Interlace ? kStep : kPlainStep;
  int passes = image.Interlace ? 4 : 1;
  std::vector<GifPixelType> line(static_cast<size_t>(image.Width));
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = first[pass]; y < image.Height; y += step[pass]) {
      if (DGifGetLine(gif, line.data(), image.Width) == GIF_ERROR) return false;
      uint8_t* out = canvas + (static_cast<size_t>(image.Top + y) * screenWidth + image.Left) * 4;
      for (int x = 0; x < image.Width; ++x, out += 4) {
        int index = line[x];
        if (index == transparent || index >= colours->ColorCount) {
          std::memset(out, 0, 4);
          continue;
        }
        const GifColorType& colour = colours->Colors[index];
        out[0] = colour.Red, out[1] = colour.Green, out[2] = colour.Blue, out[3] = 255;
      }
    }
  }
  return true;
}

}  // namespace

bool IsGif(const uint8_t* data, size_t size) {
  return data != nullptr && size >= 6 &&
         (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
}

bool GifSides(const uint8_t* data, size_t size, int* w, int* h) {
  if (!IsGif(data, size) || size < kHeaderSize) return false;
  uint32_t width = Le16(data + 6), height = Le16(data + 8);
  if (width == 0 || height == 0) return false;
  *w = static_cast<int>(width);
  *h = static_cast<int>(height);
  return true;
}

bool DecodeGif(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba) {
  int width = 0, height = 0;
  if (!GifSides(data, size, &width, &height)) return false;
  Source source{data, size, 0, false};
  OpenGif file;
  int error = 0;
  file.gif = DGifOpen(&source, Read, &error);
  GifFileType* gif = file.gif;
  int transparent = NO_TRANSPARENT_COLOR;
  if (gif == nullptr || gif->SWidth != width || gif->SHeight != height ||
      !ReachImage(gif, &transparent))
    return false;
  const GifImageDesc& image = gif->Image;
  bool inside = image.Left >= 0 && image.Top >= 0 && image.Width > 0 && image.Height > 0 &&
                image.Left + image.Width <= width && image.Top + image.Height <= height;
  if (!inside || (image.ColorMap == nullptr && gif->SColorMap == nullptr)) return false;
  try {
    rgba->assign(static_cast<size_t>(width) * height * 4, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  FillBackground(gif, rgba);
  if (!ReadRows(gif, transparent, width, rgba->data()) || source.pastEnd) {
    rgba->clear();
    return false;
  }
  *w = width;
  *h = height;
  return true;
}

}  // namespace platform::imaging
