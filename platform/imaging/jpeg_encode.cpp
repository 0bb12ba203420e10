// Encoding JPEG files with libjpeg-turbo, straight from the caller's pixels.
#include "platform/imaging/jpeg_encode.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace platform::imaging {

namespace {

constexpr int kQuality = 75;
constexpr int kLongestSide = 65500;

// The library's state for one encode. Errors (memory running out) jump back to the writing
// below, through the library's C frames only; nothing is printed.
struct Encoder {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  std::jmp_buf failed{};
  unsigned char* bytes = nullptr;  // the file, grown by the library
  unsigned long size = 0;
  bool created = false;
  ~Encoder() {
    if (created) jpeg_destroy_compress(&info);
    std::free(bytes);
  }
};

[[noreturn]] void Fail(j_common_ptr info) {
  std::longjmp(static_cast<Encoder*>(info->client_data)->failed, 1);
}
void NoOutput(j_common_ptr) {}

bool Write(Encoder* e, const PixelRows& rows, int w, int h) {
  if (setjmp(e->failed) != 0) return false;
  e->info.err = jpeg_std_error(&e->errors);
  e->errors.error_exit = Fail;
  e->errors.output_message = NoOutput;
  jpeg_create_compress(&e->info);
  e->created = true;
  e->info.client_data = e;
  jpeg_mem_dest(&e->info, &e->bytes, &e->size);
  e->info.image_width = static_cast<JDIMENSION>(w);
  e->info.image_height = static_cast<JDIMENSION>(h);
  e->info.input_components = 4;
  // The fourth byte is passed over.
  e->info.in_color_space = rows.order == PixelOrder::Bgra ? JCS_EXT_BGRA : JCS_EXT_RGBA;
  jpeg_set_defaults(&e->info);
  jpeg_set_quality(&e->info, kQuality, TRUE);
  jpeg_start_compress(&e->info, TRUE);
  while (e->info.next_scanline < e->info.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(rows.top) + e->info.next_scanline * rows.stride;
    jpeg_write_scanlines(&e->info, &row, 1);
  }
  jpeg_finish_compress(&e->info);
  return true;
}

}  // namespace

bool EncodeJpeg(const PixelRows& rows, int w, int h, std::string* out) {
  if (rows.top == nullptr || w < 1 || h < 1 || w > kLongestSide || h > kLongestSide) return false;
  Encoder encoder;
  if (!Write(&encoder, rows, w, h) || encoder.size == 0) return false;
  out->assign(reinterpret_cast<const char*>(encoder.bytes), encoder.size);
  return true;
}

bool EncodeJpeg(const uint8_t* rgba, int w, int h, std::string* out) {
  return EncodeJpeg(PixelRows{rgba, static_cast<size_t>(w) * 4, PixelOrder::Rgba}, w, h, out);
}

}  // namespace platform::imaging
