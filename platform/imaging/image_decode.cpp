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

// stb_image gives R, G, B, A only: its pixels are copied into the block in the order asked for.
bool DecodeWithStb(const uint8_t* data, size_t size, PixelOrder order, int* w, int* h,
                   ByteBlock* pixels) {
  uint8_t* rgba = stb::Decode(data, size, w, h);
  if (rgba == nullptr) return false;
  bool made = pixels->Allocate(static_cast<size_t>(*w) * *h * 4);
  if (made)
    CopyPixels({rgba, static_cast<size_t>(*w) * 4, PixelOrder::Rgba}, *w, *h, order,
               pixels->data());
  stb::Free(rgba);
  return made;
}

// GIF, TIFF, icon files, metafiles and run-length BMP: their decoders fill a vector of R, G, B, A
// pixels.
bool FillsVector(ImageFormat format, const uint8_t* data, size_t size) {
  return format == ImageFormat::Tiff || format == ImageFormat::Ico ||
         format == ImageFormat::Metafile || format == ImageFormat::Gif ||
         (format == ImageFormat::Bmp && IsRunLengthBmp(data, size));
}

bool DecodeToVector(ImageFormat format, const uint8_t* data, size_t size, int* w, int* h,
                    std::vector<uint8_t>* rgba) {
  switch (format) {
    case ImageFormat::Tiff: return DecodeTiff(data, size, w, h, rgba);
    case ImageFormat::Ico: return DecodeIco(data, size, w, h, rgba);
    case ImageFormat::Metafile: return metafile::DecodeMetafile(data, size, w, h, rgba);
    case ImageFormat::Gif: return DecodeGif(data, size, w, h, rgba);
    case ImageFormat::Bmp: return DecodeRunLengthBmp(data, size, w, h, rgba);
    default: return false;
  }
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

bool DecodeImage(const uint8_t* data, size_t size, PixelOrder order, int* w, int* h,
                 ByteBlock* pixels) {
  pixels->Clear();
  ImageFormat format = FormatOf(data, size);
  if (format == ImageFormat::Png) return DecodePng(data, size, order, w, h, pixels);
  if (format == ImageFormat::Jpeg) return DecodeJpeg(data, size, order, w, h, pixels);
  // What is left besides the formats decoded into a vector is BMP and TGA, read by stb_image.
  if (!FillsVector(format, data, size)) return DecodeWithStb(data, size, order, w, h, pixels);
  std::vector<uint8_t> rgba;
  if (!DecodeToVector(format, data, size, w, h, &rgba) || !pixels->Allocate(rgba.size()))
    return false;
  CopyPixels({rgba.data(), static_cast<size_t>(*w) * 4, PixelOrder::Rgba}, *w, *h, order,
             pixels->data());
  return true;
}

bool DecodeImage(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba) {
  rgba->clear();
  ImageFormat format = FormatOf(data, size);
  if (FillsVector(format, data, size)) return DecodeToVector(format, data, size, w, h, rgba);
  ByteBlock pixels;
  if (!DecodeImage(data, size, PixelOrder::Rgba, w, h, &pixels)) return false;
  rgba->assign(pixels.data(), pixels.data() + pixels.size());
  return true;
}

}  // namespace platform::imaging
