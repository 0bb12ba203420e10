// Encoding PNG files with libpng.
#include "platform/imaging/png_encode.h"

#include <png.h>

#include <csetjmp>
#include <new>
#include <string>

namespace platform::imaging {

namespace {

void Append(png_structp png, png_bytep data, size_t size) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), size);
}
void Flush(png_structp) {}

// libpng fails only when memory runs out: the error jumps back to the writing below, through its
// C frames only; nothing is printed.
void Error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Warning(png_structp, png_const_charp) {}

struct Writer {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~Writer() {
    if (png != nullptr) png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
  }
};

bool Write(Writer* writer, const PixelRows& rows, int w, int h, std::string* out) {
  if (setjmp(png_jmpbuf(writer->png)) != 0) return false;
  png_set_write_fn(writer->png, out, Append, Flush);
  png_set_IHDR(writer->png, writer->info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h),
               8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(writer->png, writer->info);
  // libpng swaps red and blue in its own row buffer, never in the caller's rows.
  if (rows.order == PixelOrder::Bgra) png_set_bgr(writer->png);
  for (int y = 0; y < h; ++y) png_write_row(writer->png, rows.top + y * rows.stride);
  png_write_end(writer->png, writer->info);
  return true;
}

}  // namespace

bool EncodePng(const PixelRows& rows, int w, int h, std::string* out) {
  if (rows.top == nullptr || w < 1 || h < 1) return false;
  out->clear();
  Writer writer;
  writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Error, Warning);
  if (writer.png == nullptr) return false;
  writer.info = png_create_info_struct(writer.png);
  if (writer.info == nullptr) return false;
  try {
    return Write(&writer, rows, w, h, out) && !out->empty();
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool EncodePng(const uint8_t* rgba, int w, int h, std::string* out) {
  return EncodePng(PixelRows{rgba, static_cast<size_t>(w) * 4, PixelOrder::Rgba}, w, h, out);
}

}  // namespace platform::imaging
