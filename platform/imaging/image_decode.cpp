// Choosing the decoder of an image file.
#include "platform/imaging/image_decode.h"

#include "platform/imaging/ico_decode.h"
#include "platform/imaging/metafile/metafile_decode.h"
#include "platform/imaging/stb_codec.h"
#include "platform/imaging/tiff_decode.h"
#include "platform/imaging/tiff_layout.h"

namespace platform::imaging {

bool ImageSides(const uint8_t* data, size_t size, int* w, int* h) {
  if (IsTiff(data, size)) {
    TiffLayout layout;
    if (!ReadTiffLayout(data, size, &layout)) return false;
    *w = layout.width;
    *h = layout.height;
    return true;
  }
  if (IsIco(data, size)) return IcoSides(data, size, w, h);
  if (metafile::IsMetafile(data, size)) return metafile::MetafileSides(data, size, w, h);
  return stb::Info(data, size, w, h);
}

bool DecodeImage(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba) {
  rgba->clear();
  if (IsTiff(data, size)) return DecodeTiff(data, size, w, h, rgba);
  if (IsIco(data, size)) return DecodeIco(data, size, w, h, rgba);
  if (metafile::IsMetafile(data, size)) return metafile::DecodeMetafile(data, size, w, h, rgba);
  uint8_t* pixels = stb::Decode(data, size, w, h);
  if (pixels == nullptr) return false;
  rgba->assign(pixels, pixels + static_cast<size_t>(*w) * *h * 4);
  stb::Free(pixels);
  return true;
}

}  // namespace platform::imaging
