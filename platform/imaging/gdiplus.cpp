// The imaging calls on the platform's decoders (image_decode.h) and encoders. A bitmap holds its
// pixels as B, G, R, A with straight alpha, top row first (over the caller's memory for a bitmap
// made from scan0); a file's picture is decoded straight into them in that order. A lock for
// reading and writing of the whole of a bitmap with packed rows hands out the bitmap's own rows;
// every other lock hands out a packed copy of the rectangle, written back on unlock when locked
// for writing. The encoder table is ours: BMP, JPEG, GIF, TIFF and PNG in that order, then TGA,
// each with a class identifier of its own, its MIME type compared exactly by callers; JPEG and
// PNG are encoded straight from the bitmap's rows. File names written the Windows way are read
// and written with "/" in place of "\".
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/imaging/gif_encode.h"
#include "platform/imaging/image_decode.h"
#include "platform/imaging/jpeg_encode.h"
#include "platform/imaging/pixel_order.h"
#include "platform/imaging/png_encode.h"
#include "platform/imaging/stb_codec.h"
#include "platform/imaging/tiff_encode.h"
#include "platform/runtime/byte_block.h"
#include "platform/runtime/file_open.h"
#include "platform/winapi/gdiplus.h"

namespace {

using platform::ByteBlock;
using platform::imaging::PixelOrder;
using platform::imaging::PixelRows;

// Bitmaps larger than this many pixels are refused before any pixel is decoded.
const uint64_t kMaxPixels = 1ull << 28;
// Image files larger than this are not read.
const long kMaxFileBytes = 1l << 28;

struct ImageData final : GpBitmap {
  int width = 0;
  int height = 0;
  int stride = 0;
  uint8_t* pixels = nullptr;  // B, G, R, A rows of stride bytes
  ByteBlock own;              // the pixels when the bitmap owns them
  bool locked = false;
  GpRect lockRect{};
  UINT lockFlags = 0;
  bool lockInPlace = false;  // the lock handed out the bitmap's own rows
  ByteBlock lockCopy;        // else the packed pixels handed out by the lock
};

ImageData* DataOf(GpImage* image) { return static_cast<ImageData*>(image); }

struct Encoder {
  CLSID clsid;
  GUID format;
  const char* name;
  const char* description;
  const char* extensions;
  const char* mime;
  bool (*encode)(const PixelRows& rows, int w, int h, std::string* out);
};

// The encoders that take packed R, G, B, A pixels only get a copy of the bitmap in that order.
template <bool (*encode)(const uint8_t* rgba, int w, int h, std::string* out)>
bool EncodeRgba(const PixelRows& rows, int w, int h, std::string* out) {
  ByteBlock rgba;
  if (!rgba.Allocate(static_cast<size_t>(w) * h * 4)) return false;
  platform::imaging::CopyPixels(rows, w, h, PixelOrder::Rgba, rgba.data());
  return encode(rgba.data(), w, h, out);
}

template <platform::stb::Format format>
bool EncodeWithStb(const uint8_t* rgba, int w, int h, std::string* out) {
  return platform::stb::Encode(format, rgba, w, h, out);
}

// Identifiers 1 to 6 in the order the encoders were added, not in the table's order.
const Encoder kEncoders[] = {
    {{0x4b560102, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x02}},
     {0x4b560202, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x02}},
     "BMP encoder",
     "BMP",
     "*.BMP;*.DIB",
     "image/bmp",
     EncodeRgba<EncodeWithStb<platform::stb::Format::Bmp>>},
    {{0x4b560103, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x03}},
     {0x4b560203, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x03}},
     "JPEG encoder",
     "JPEG",
     "*.JPG;*.JPEG;*.JPE;*.JFIF",
     "image/jpeg",
     platform::imaging::EncodeJpeg},
    {{0x4b560105, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x05}},
     {0x4b560205, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x05}},
     "GIF encoder",
     "GIF",
     "*.GIF",
     "image/gif",
     EncodeRgba<platform::imaging::EncodeGif>},
    {{0x4b560106, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x06}},
     {0x4b560206, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x06}},
     "TIFF encoder",
     "TIFF",
     "*.TIF;*.TIFF",
     "image/tiff",
     EncodeRgba<platform::imaging::EncodeTiff>},
    {{0x4b560101, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x01}},
     {0x4b560201, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x01}},
     "PNG encoder",
     "PNG",
     "*.PNG",
     "image/png",
     platform::imaging::EncodePng},
    {{0x4b560104, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x04}},
     {0x4b560204, 0x1e2d, 0x4a11, {0x9c, 0x01, 0x6b, 0x76, 0x69, 0x6d, 0x67, 0x04}},
     "TGA encoder",
     "TGA",
     "*.TGA",
     "image/tga",
     EncodeRgba<EncodeWithStb<platform::stb::Format::Tga>>},
};
const UINT kEncoderCount = sizeof kEncoders / sizeof kEncoders[0];

// Open start-ups. Bitmaps need one; the encoder table is fixed and can be read at any time.
int startCount = 0;

// The texts of one encoder entry, in the order they are laid out after the table.
std::vector<const char*> TextsOf(const Encoder& encoder) {
  return {encoder.name, "", encoder.description, encoder.extensions, encoder.mime};
}

UINT TableSize() {
  size_t size = kEncoderCount * sizeof(ImageCodecInfo);
  for (const Encoder& encoder : kEncoders)
    for (const char* text : TextsOf(encoder)) size += (std::strlen(text) + 1) * sizeof(WCHAR);
  return static_cast<UINT>(size);
}

// A wide path as the bytes of a Linux path: characters of the 8-bit range stay single bytes
// (the same bytes the program's other file calls use), others become UTF-8.
std::string PathBytes(const WCHAR* path) {
  std::string out;
  for (const WCHAR* p = path; *p != 0; ++p) {
    char32_t c = *p;
    if (c < 0x100) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool ReadFile(const std::string& path, ByteBlock* bytes) {
  std::FILE* file = KvOpenFile(path.c_str(), "rb");
  if (file == nullptr) return false;
  bool read = false;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    long size = std::ftell(file);
    if (size > 0 && size <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0 &&
        bytes->Allocate(static_cast<size_t>(size))) {
      read = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
    }
  }
  std::fclose(file);
  return read;
}

// Writes the bytes to a temporary file beside the path, then renames it into place, so a
// failed write leaves no file and never a damaged one.
bool WriteFile(const std::string& path, const std::string& bytes) {
  std::string temporary = path + ".tmp" + std::to_string(getpid());
  std::FILE* file = KvOpenFile(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fclose(file) == 0 && written;
  if (!written || !KvRenameFile(temporary.c_str(), path.c_str())) {
    KvRemoveFile(temporary.c_str());
    return false;
  }
  return true;
}

// Whether a lock can hand out the bitmap's own rows: read and written (so the caller sees the
// pixels and what it writes is kept, as with a copy), the whole bitmap, rows packed (the stride
// a copy would have).
bool LocksInPlace(const ImageData& data, const GpRect& area, UINT flags) {
  return (flags & ImageLockModeRead) && (flags & ImageLockModeWrite) && area.X == 0 &&
         area.Y == 0 && area.Width == data.width && area.Height == data.height &&
         data.stride == data.width * 4;
}

// Copies the rectangle's rows between the bitmap and the packed lock copy.
void CopyRows(const ImageData& data, uint8_t* packed, bool toBitmap) {
  const GpRect& area = data.lockRect;
  size_t rowBytes = static_cast<size_t>(area.Width) * 4;
  for (int y = 0; y < area.Height; ++y) {
    uint8_t* row = data.pixels + static_cast<size_t>(area.Y + y) * data.stride + area.X * 4;
    uint8_t* copy = packed + y * rowBytes;
    if (toBitmap) {
      std::memcpy(row, copy, rowBytes);
    } else {
      std::memcpy(copy, row, rowBytes);
    }
  }
}

}  // namespace

// ---- start-up and memory ---------------------------------------------------------------------

GpStatus WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                               GdiplusStartupOutput* output) {
  if (token == nullptr || input == nullptr) return InvalidParameter;
  if (input->GdiplusVersion != 1) return UnsupportedGdiplusVersion;
  if (output != nullptr) *output = GdiplusStartupOutput{};
  ++startCount;
  *token = static_cast<ULONG_PTR>(startCount);
  return Ok;
}

void WINAPI GdiplusShutdown(ULONG_PTR token) {
  if (token != 0 && startCount > 0) --startCount;
}

void* WINAPI GdipAlloc(size_t size) { return std::malloc(size); }

void WINAPI GdipFree(void* block) { std::free(block); }

// ---- bitmaps ---------------------------------------------------------------------------------

GpStatus WINAPI GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap) {
  if (filename == nullptr || bitmap == nullptr) return InvalidParameter;
  *bitmap = nullptr;
  if (startCount == 0) return GdiplusNotInitialized;
  ByteBlock bytes;
  if (!ReadFile(PathBytes(filename), &bytes)) return FileNotFound;
  int w = 0, h = 0;
  if (!platform::imaging::ImageSides(bytes.data(), bytes.size(), &w, &h)) return UnknownImageFormat;
  if (w < 1 || h < 1 || static_cast<uint64_t>(w) * static_cast<uint64_t>(h) > kMaxPixels)
    return OutOfMemory;
  ByteBlock pixels;
  if (!platform::imaging::DecodeImage(bytes.data(), bytes.size(), PixelOrder::Bgra, &w, &h,
                                      &pixels))
    return UnknownImageFormat;
  auto* data = new ImageData();
  data->width = w;
  data->height = h;
  data->stride = w * 4;
  data->own = std::move(pixels);
  data->pixels = data->own.data();
  *bitmap = data;
  return Ok;
}

GpStatus WINAPI GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format,
                                          BYTE* scan0, GpBitmap** bitmap) {
  if (bitmap == nullptr) return InvalidParameter;
  *bitmap = nullptr;
  if (startCount == 0) return GdiplusNotInitialized;
  if (width < 1 || height < 1 ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPixels)
    return InvalidParameter;
  if (format != PixelFormat32bppARGB) return NotImplemented;
  if (scan0 != nullptr && (stride < width * 4 || stride % 4 != 0)) return InvalidParameter;
  auto* data = new ImageData();
  data->width = width;
  data->height = height;
  if (scan0 != nullptr) {
    data->stride = stride;
    data->pixels = scan0;
  } else {
    // A new bitmap is transparent black.
    data->stride = width * 4;
    if (!data->own.Allocate(static_cast<size_t>(width) * height * 4)) {
      delete data;
      return OutOfMemory;
    }
    std::memset(data->own.data(), 0, data->own.size());
    data->pixels = data->own.data();
  }
  *bitmap = data;
  return Ok;
}

GpStatus WINAPI GdipGetImageWidth(GpImage* image, UINT* width) {
  if (image == nullptr || width == nullptr) return InvalidParameter;
  *width = static_cast<UINT>(DataOf(image)->width);
  return Ok;
}

GpStatus WINAPI GdipGetImageHeight(GpImage* image, UINT* height) {
  if (image == nullptr || height == nullptr) return InvalidParameter;
  *height = static_cast<UINT>(DataOf(image)->height);
  return Ok;
}

GpStatus WINAPI GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, UINT flags,
                                   PixelFormat format, BitmapData* locked) {
  if (bitmap == nullptr || locked == nullptr) return InvalidParameter;
  ImageData* data = DataOf(bitmap);
  if (data->locked) return WrongState;
  if (format != PixelFormat32bppARGB || (flags & ImageLockModeUserInputBuf)) return NotImplemented;
  if ((flags & (ImageLockModeRead | ImageLockModeWrite)) == 0) return InvalidParameter;
  GpRect area = rect != nullptr ? *rect : GpRect{0, 0, data->width, data->height};
  if (area.X < 0 || area.Y < 0 || area.Width < 1 || area.Height < 1 ||
      area.Width > data->width - area.X || area.Height > data->height - area.Y)
    return InvalidParameter;

  data->lockRect = area;
  data->lockFlags = flags;
  data->lockInPlace = LocksInPlace(*data, area, flags);
  size_t rowBytes = static_cast<size_t>(area.Width) * 4;
  uint8_t* handedOut = data->pixels;
  if (!data->lockInPlace) {
    if (!data->lockCopy.Allocate(rowBytes * area.Height)) return OutOfMemory;
    handedOut = data->lockCopy.data();
    // A lock for reading sees the pixels; one for writing only starts from transparent black.
    if (flags & ImageLockModeRead) {
      CopyRows(*data, handedOut, false);
    } else {
      std::memset(handedOut, 0, data->lockCopy.size());
    }
  }
  data->locked = true;
  *locked = BitmapData{static_cast<UINT>(area.Width),
                       static_cast<UINT>(area.Height),
                       static_cast<INT>(rowBytes),
                       PixelFormat32bppARGB,
                       handedOut,
                       0};
  return Ok;
}

GpStatus WINAPI GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* locked) {
  if (bitmap == nullptr || locked == nullptr) return InvalidParameter;
  ImageData* data = DataOf(bitmap);
  if (!data->locked) return WrongState;
  if (!data->lockInPlace && (data->lockFlags & ImageLockModeWrite))
    CopyRows(*data, data->lockCopy.data(), true);
  data->locked = false;
  data->lockInPlace = false;
  data->lockCopy.Clear();
  return Ok;
}

GpStatus WINAPI GdipDisposeImage(GpImage* image) {
  if (image == nullptr) return InvalidParameter;
  delete DataOf(image);
  return Ok;
}

// ---- encoders and saving ---------------------------------------------------------------------

GpStatus WINAPI GdipGetImageEncodersSize(UINT* count, UINT* size) {
  if (count == nullptr || size == nullptr) return InvalidParameter;
  *count = kEncoderCount;
  *size = TableSize();
  return Ok;
}

GpStatus WINAPI GdipGetImageEncoders(UINT count, UINT size, ImageCodecInfo* encoders) {
  if (encoders == nullptr) return InvalidParameter;
  if (count != kEncoderCount || size != TableSize()) return GenericError;
  // The texts follow the table in the same block.
  auto* text = reinterpret_cast<WCHAR*>(encoders + kEncoderCount);
  for (UINT i = 0; i < kEncoderCount; ++i) {
    const Encoder& encoder = kEncoders[i];
    const WCHAR* placed[5];
    std::vector<const char*> texts = TextsOf(encoder);
    for (size_t t = 0; t < texts.size(); ++t) {
      placed[t] = text;
      for (const char* c = texts[t]; *c; ++c)
        *text++ = static_cast<WCHAR>(static_cast<unsigned char>(*c));
      *text++ = 0;
    }
    encoders[i] =
        ImageCodecInfo{encoder.clsid, encoder.format, placed[0], placed[1], placed[2], placed[3],
                       placed[4],     0x10007,        1,         0,         0,         nullptr,
                       nullptr};
  }
  return Ok;
}

GpStatus WINAPI GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* encoder,
                                    const EncoderParameters*) {
  if (image == nullptr || filename == nullptr || encoder == nullptr) return InvalidParameter;
  ImageData* data = DataOf(image);
  if (data->locked) return WrongState;
  const Encoder* chosen = nullptr;
  for (const Encoder& candidate : kEncoders)
    if (std::memcmp(&candidate.clsid, encoder, sizeof(CLSID)) == 0) chosen = &candidate;
  if (chosen == nullptr) return FileNotFound;

  PixelRows rows{data->pixels, static_cast<size_t>(data->stride), PixelOrder::Bgra};
  std::string bytes;
  if (!chosen->encode(rows, data->width, data->height, &bytes)) return GenericError;
  return WriteFile(PathBytes(filename), bytes) ? Ok : Win32Error;
}
