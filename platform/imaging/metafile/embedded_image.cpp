// Embedded JPEG and PNG pictures, through the image decoders' public calls.
#include "platform/imaging/metafile/embedded_image.h"

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/jpeg_decode.h"
#include "platform/imaging/png_decode.h"

namespace platform::metafile {

namespace {

// The sides the picture's own header gives.
bool Sides(bool png, const uint8_t* data, size_t size, int* w, int* h) {
  return png ? imaging::PngSides(data, size, w, h) : imaging::JpegSides(data, size, w, h);
}

// Straight B, G, R, A to a premultiplied cairo word.
uint32_t Premultiplied(const uint8_t* p) {
  uint32_t a = p[3];
  auto times = [a](uint32_t c) { return (c * a + 127) / 255; };
  return a << 24 | times(p[2]) << 16 | times(p[1]) << 8 | times(p[0]);
}

}  // namespace

bool DecodeEmbeddedImage(bool png, const uint8_t* data, size_t size, int width, int height,
                         DibPixels* out) {
  int w = 0, h = 0;
  if (!Sides(png, data, size, &w, &h) || w != width || h != height) return false;
  // Each decoder budgets its blocks by its picture's sides; those must fit the metafile's budget.
  if (imaging::DecodeBlockLimit(w, h, size) > imaging::BlockLimit()) return false;
  ByteBlock bgra;
  bool decoded = png ? imaging::DecodePng(data, size, imaging::PixelOrder::Bgra, &w, &h, &bgra)
                     : imaging::DecodeJpeg(data, size, imaging::PixelOrder::Bgra, &w, &h, &bgra);
  if (!decoded || w != width || h != height) return false;
  size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
  out->pixels = static_cast<uint32_t*>(imaging::BudgetMalloc(count * 4));
  if (out->pixels == nullptr) return false;
  out->width = w;
  out->height = h;
  for (size_t i = 0; i < count; ++i) out->pixels[i] = Premultiplied(bgra.data() + i * 4);
  return true;
}

}  // namespace platform::metafile
