// Choosing the decoder of an image file.
#include "platform/imaging/image_decode.h"

#include "platform/imaging/bmp_rle_decode.h"
#include "platform/imaging/gif_decode.h"
#include "platform/imaging/ico_decode.h"
#include "platform/imaging/jpeg_decode.h"
#include "platform/imaging/metafile/metafile_decode.h"
#include "platform/imaging/png_decode.h"
#include "platform/imaging/stb_codec.h"
#include "platform/imaging/tiff_decode.h"
#include "platform/imaging/tiff_layout.h"

namespace platform::imaging {

namespace {

bool DecodeWithStb(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba) {
  uint8_t* pixels = stb::Decode(data, size, w, h);
  if (pixels == nullptr) return false;
  rgba->assign(pixels, pixels + static_cast<size_t>(*w) * *h * 4);
  stb::Free(pixels);
  return true;
}

}  // namespace

ImageFormat FormatOf(const uint8_t* data, size_t size) {
  if (data == nullptr || size == 0) return ImageFormat::Tga;
  if (IsTiff(data, size)) return ImageFormat::Tiff;
  if (IsIco(data, size)) return ImageFormat::Ico;
  if (metafile::IsMetafile(data, size)) return ImageFormat::Metafile;
  if (IsPng(data, size)) return ImageFormat::Png;
  if (size >= 2 && data[0] == 0xff && data[1] == 0xd8) return ImageFormat::Jpeg;
  if (IsGif(data, size)) return ImageFormat::Gif;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return ImageFormat::Bmp;
  return ImageFormat::Tga;
}

bool ImageSides(const uint8_t* data, size_t size, int* w, int* h) {
  switch (FormatOf(data, size)) {
    case ImageFormat::Tiff: {
      TiffLayout layout;
      if (!ReadTiffLayout(data, size, &layout)) return false;
      *w = layout.width;
      *h = layout.height;
      return true;
    }
    case ImageFormat::Ico: return IcoSides(data, size, w, h);
    case ImageFormat::Metafile: return metafile::MetafileSides(data, size, w, h);
    case ImageFormat::Png: return PngSides(data, size, w, h);
    case ImageFormat::Jpeg: return JpegSides(data, size, w, h);
    case ImageFormat::Gif: return GifSides(data, size, w, h);
    case ImageFormat::Bmp:
      if (IsRunLengthBmp(data, size)) return RunLengthBmpSides(data, size, w, h);
      [[fallthrough]];
    case ImageFormat::Tga: return stb::Info(data, size, w, h);
  }
  return false;
}

bool DecodeImage(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba) {
  rgba->clear();
  switch (FormatOf(data, size)) {
    case ImageFormat::Tiff: return DecodeTiff(data, size, w, h, rgba);
    case ImageFormat::Ico: return DecodeIco(data, size, w, h, rgba);
    case ImageFormat::Metafile: return metafile::DecodeMetafile(data, size, w, h, rgba);
    case ImageFormat::Png: return DecodePng(data, size, w, h, rgba);
    case ImageFormat::Jpeg: return DecodeJpeg(data, size, w, h, rgba);
    case ImageFormat::Gif: return DecodeGif(data, size, w, h, rgba);
    case ImageFormat::Bmp:
      if (IsRunLengthBmp(data, size)) return DecodeRunLengthBmp(data, size, w, h, rgba);
      [[fallthrough]];
    case ImageFormat::Tga: return DecodeWithStb(data, size, w, h, rgba);
  }
  return false;
}

}  // namespace platform::imaging
