// Reading EMF+ image objects: pixel bitmaps (emfplus_bitmap.cpp), compressed bitmaps through the
// framework's decoders, and metafiles through this reader.
#include "platform/imaging/metafile/emfplus_image.h"

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/image_decode.h"
#include "platform/imaging/metafile/emfplus_bitmap.h"
#include "platform/imaging/metafile/metafile_decode.h"

namespace platform::metafile {

namespace {

enum : uint32_t { kImageBitmap = 1, kImageMetafile = 2 };
enum : uint32_t { kBitmapPixels = 0, kBitmapCompressed = 1 };
// The kinds of metafile an image may hold: WMF, placeable WMF, EMF, EMF+ alone and dual.
constexpr uint32_t kFirstMetafileType = 1, kLastMetafileType = 5;
constexpr int kLargestSide = 32767;

// Where an image object's data starts, after its version and type; where a bitmap's starts,
// after its sides, stride, pixel format and type.
constexpr size_t kImageData = 8, kBitmapData = kImageData + 20;

// How deep this thread is in metafile images being drawn: a metafile image inside one is not.
thread_local int metafileImageDepth = 0;

class MetafileImageLevel {
 public:
  MetafileImageLevel() { ++metafileImageDepth; }
  ~MetafileImageLevel() { --metafileImageDepth; }
  MetafileImageLevel(const MetafileImageLevel&) = delete;
  MetafileImageLevel& operator=(const MetafileImageLevel&) = delete;
};

// Straight-alpha R, G, B, A bytes as the image's premultiplied words.
bool FromRgba(const std::vector<uint8_t>& rgba, int w, int h, PlusImage* out) {
  if (!MakeImage(w, h, out) || rgba.size() != out->pixels.size() * 4) return false;
  for (size_t i = 0; i < out->pixels.size(); ++i) {
    const uint8_t* p = &rgba[i * 4];
    auto times = [a = p[3]](uint32_t v) { return (v * a + 127) / 255; };
    out->pixels[i] =
        static_cast<uint32_t>(p[3]) << 24 | times(p[0]) << 16 | times(p[1]) << 8 | times(p[2]);
  }
  return true;
}

// Whether a picture of these sides, and the image made of it, fit the decode budget.
bool Fits(int w, int h) {
  return w >= 1 && h >= 1 && w <= kLargestSide && h <= kLargestSide &&
         imaging::FitsBudget(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
}

// A compressed bitmap: a file of one of the formats a bitmap may hold. Another metafile, an icon,
// or bytes of no format (which the decoders would take for TGA) are not read.
bool ReadCompressed(const uint8_t* data, size_t size, PlusImage* out) {
  using imaging::ImageFormat;
  ImageFormat format = imaging::FormatOf(data, size);
  if (format != ImageFormat::Png && format != ImageFormat::Jpeg && format != ImageFormat::Gif &&
      format != ImageFormat::Bmp && format != ImageFormat::Tiff)
    return false;
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;
  return imaging::ImageSides(data, size, &w, &h) && Fits(w, h) &&
         imaging::DecodeImage(data, size, &w, &h, &rgba) && FromRgba(rgba, w, h, out);
}

bool ReadBitmap(RecordReader& r, PlusImage* out) {
  BitmapLayout layout{r.S32(kImageData), r.S32(kImageData + 4), r.S32(kImageData + 8),
                      r.U32(kImageData + 12)};
  uint32_t type = r.U32(kImageData + 16);
  if (r.Short()) return false;
  if (type == kBitmapPixels) return ReadPixelBitmap(r, kBitmapData, layout, out);
  if (type != kBitmapCompressed) return false;
  // The sides, stride and format of a compressed bitmap mean nothing; its file does.
  return ReadCompressed(r.Bytes(kBitmapData, 0), r.Size() - kBitmapData, out);
}

// A metafile drawn by this reader at its own size, under the budget of the picture it is in.
bool ReadMetafile(RecordReader& r, PlusImage* out) {
  uint32_t type = r.U32(kImageData);
  size_t size = r.U32(kImageData + 4);
  const uint8_t* data = r.Bytes(kImageData + 8, size);
  int w = 0, h = 0;
  if (data == nullptr || type < kFirstMetafileType || type > kLastMetafileType ||
      metafileImageDepth > 0 || !MetafileSides(data, size, &w, &h) || !Fits(w, h))
    return false;
  MetafileImageLevel level;
  std::vector<uint8_t> rgba;
  return DecodeMetafile(data, size, &w, &h, &rgba) && FromRgba(rgba, w, h, out);
}

}  // namespace

bool MakeImage(int width, int height, PlusImage* out) {
  if (!Fits(width, height)) return false;
  out->width = width;
  out->height = height;
  out->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  return true;
}

std::shared_ptr<const PlusImage> ReadImage(const uint8_t* data, size_t size) {
  RecordReader r(data, size);
  uint32_t type = r.U32(4);
  if (r.Short()) return nullptr;
  auto image = std::make_shared<PlusImage>();
  bool read = false;
  if (type == kImageBitmap)
    read = ReadBitmap(r, image.get());
  else if (type == kImageMetafile)
    read = ReadMetafile(r, image.get());
  if (!read) return nullptr;
  return image;
}

}  // namespace platform::metafile
