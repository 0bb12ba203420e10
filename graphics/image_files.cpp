// Image files through the imaging interface: loading into and saving from engine textures, and
// the encoder lookup by MIME type.
#include "graphics/image_files.h"

#include <array>
#include <bit>
#include <cstring>

#include "engine/numbers.h"
#include "platform/winapi/gdiplus.h"

namespace {

// Paths and MIME types go to the imaging interface as wide text of at most this many characters.
const unsigned int kWideLength = 1024;

bool StartImaging(ULONG_PTR* token) {
  GdiplusStartupInput input;
  std::memset(&input, 0, sizeof input);
  input.GdiplusVersion = 1;
  return GdiplusStartup(token, &input, nullptr) == Ok;
}

int32_t TextureValue(KV_HANDLE texture, uint32_t property) {
  const int32_t* value = (const int32_t*)KvTextureGet(texture, property);
  return value != nullptr ? *value : 0;
}

bool SameWide(const WCHAR* a, const KV_WCHAR* b) {
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

// Four pixels as 32-bit words in one 16-byte vector (the vector extension of GCC and clang; SSE2
// on x86-64).
typedef uint32_t FourPixels __attribute__((vector_size(16)));

// The second and fourth bytes of a pixel, as a mask over its word.
const uint32_t kKeptBytes = std::bit_cast<uint32_t>(std::array<uint8_t, 4>{0, 0xff, 0, 0xff});

// Copies w x h pixels between packed rows and rows of the given stride, swapping the first and
// third byte of each (R, G, B, A <-> B, G, R, A); from and to may be the same pixels.
void CopySwapped(const uint8_t* from, int fromStride, uint8_t* to, int toStride, int w, int h) {
  for (int y = 0; y < h; ++y) {
    const uint8_t* source = from + (size_t)y * fromStride;
    uint8_t* target = to + (size_t)y * toStride;
    int x = 0;
    // Four pixels at a time: the first and third bytes lie 16 bits apart in a pixel's word
    // whatever the machine's byte order, so turning them by 16 bits swaps them. A byte at a time
    // the swap took a tenth of a large JPEG's load; this way a third of that.
    for (; x + 4 <= w; x += 4) {
      FourPixels four;
      std::memcpy(&four, source + x * 4, sizeof four);
      FourPixels turned = four & ~kKeptBytes;
      four = (four & kKeptBytes) | (turned << 16) | (turned >> 16);
      std::memcpy(target + x * 4, &four, sizeof four);
    }
    for (; x < w; ++x) {
      // Read both bytes before writing, so the copy may be made in place.
      uint8_t first = source[x * 4 + 0], third = source[x * 4 + 2];
      target[x * 4 + 0] = third;
      target[x * 4 + 1] = source[x * 4 + 1];
      target[x * 4 + 2] = first;
      target[x * 4 + 3] = source[x * 4 + 3];
    }
  }
}

}  // namespace

// ---- textures ------------------------------------------------------------------------------

bool KvTextureLoadImage(KV_HANDLE texture, const char* path) {
  KV_WCHAR widePath[kWideLength];
  if (!KV_STRING(path).ToWide(widePath, kWideLength)) return false;
  bool result = false;
  ULONG_PTR token = 0;
  if (!StartImaging(&token)) return false;
  GpBitmap* bitmap = nullptr;
  GdipCreateBitmapFromFile(widePath, &bitmap);
  UINT w = 0, h = 0;
  GdipGetImageWidth(bitmap, &w);
  GdipGetImageHeight(bitmap, &h);
  GpRect rect = {0, 0, (INT)w, (INT)h};
  BitmapData data;
  if (GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead | ImageLockModeWrite,
                         PixelFormat32bppARGB, &data) == Ok) {
    // Swapped in place, packed by the lock's own stride.
    uint8_t* pixels = (uint8_t*)data.Scan0;
    CopySwapped(pixels, data.Stride, pixels, data.Stride, (int)w, (int)h);
    if (data.Stride == (INT)w * 4) result = KvTextureLoadRGBAFromMemory(texture, pixels, w, h) != 0;
    GdipBitmapUnlockBits(bitmap, &data);
  }
  if (bitmap != nullptr) GdipDisposeImage(bitmap);
  GdiplusShutdown(token);
  return result;
}

bool KvTextureSaveImage(KV_HANDLE texture, const char* path, const char* format) {
  if (format == nullptr) return false;
  KV_WCHAR widePath[kWideLength];
  KV_WCHAR wideMime[kWideLength];
  KV_STRING mime;
  mime.Format("image/%s", format);
  if (!KV_STRING(path).ToWide(widePath, kWideLength) || !mime.ToWide(wideMime, kWideLength))
    return false;

  const uint8_t* pixels = (const uint8_t*)KvTextureLock(texture, KV_LOCK_EDIT);
  if (pixels == nullptr) return false;
  int32_t w = TextureValue(texture, KV_TEX_WIDTH), h = TextureValue(texture, KV_TEX_HEIGHT);
  if (w < 1 || h < 1) {
    KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
    return false;
  }
  bool result = false;
  uint8_t* block = (uint8_t*)GdipAlloc((size_t)w * h * 4);
  ULONG_PTR token = 0;
  bool started = block != nullptr && StartImaging(&token);
  GpBitmap* bitmap = nullptr;
  if (started) GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppARGB, block, &bitmap);
  GpRect rect = {0, 0, w, h};
  BitmapData data;
  if (bitmap != nullptr && GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead | ImageLockModeWrite,
                                              PixelFormat32bppARGB, &data) == Ok) {
    CopySwapped(pixels, w * 4, (uint8_t*)data.Scan0, data.Stride, w, h);
    GdipBitmapUnlockBits(bitmap, &data);
    CLSID encoder;
    if (KvGetEncoderClsid(wideMime, &encoder) >= 0)
      result = GdipSaveImageToFile(bitmap, widePath, &encoder, nullptr) == Ok;
  }
  KvTextureUnlock(texture, KV_UNLOCK_DISCARD);
  GdipFree(block);
  if (bitmap != nullptr) GdipDisposeImage(bitmap);
  if (started) GdiplusShutdown(token);
  return result;
}

int KvGetEncoderClsid(const KV_WCHAR* mime, GUID* out) {
  if (mime == nullptr) return -1;
  UINT count = 0, size = 0;
  GdipGetImageEncodersSize(&count, &size);
  if (size == 0) return -1;
  ImageCodecInfo* encoders = (ImageCodecInfo*)GdipAlloc(size);
  if (encoders == nullptr) return -1;
  int index = -1;
  if (GdipGetImageEncoders(count, size, encoders) == Ok) {
    for (UINT i = 0; i < count; ++i) {
      if (encoders[i].MimeType != nullptr && SameWide(encoders[i].MimeType, mime)) {
        if (out != nullptr) *out = encoders[i].Clsid;
        index = (int)i;
        break;
      }
    }
  }
  GdipFree(encoders);
  return index;
}
