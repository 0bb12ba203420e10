// Decoding JPEG files with libjpeg-turbo, straight into the caller's pixels.
#include "platform/imaging/jpeg_decode.h"

#include <csetjmp>

// jpeglib.h needs size_t and FILE declared before it.
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/image_length.h"

namespace platform::imaging {

namespace {

// Progressive scans a file may have. Every scan walks the whole picture again, so a small file
// of thousands of tiny scans would keep the decoder busy for minutes; encoders write about ten.
constexpr int kMostScans = 500;

// Rows handed to the library per call.
constexpr int kRowsAtOnce = 16;

// libjpeg-turbo writes a row that starts on a 32-byte boundary with non-temporal stores, which
// leave the cache: the stores themselves wait on memory, and the passes after the decode (the
// imaging caller's swap, the texture upload) read every pixel back from it. Pixels placed 16
// bytes past a boundary stay in the cache; with rows whose length is a multiple of 32 bytes
// (widths that are multiples of 8) every row does. Measured on a 128 x 128 sprite: decode and
// swap 130 us with aligned rows, 55 us skewed; a 640 x 480 photograph 2.5 ms and 2.1 ms.
constexpr size_t kRowSkew = 16;

const JOCTET kEndMarker[2] = {0xff, JPEG_EOI};

// The library's state for one decode, and what the callbacks note. Errors jump back to the stage
// of the decode that was running (longjmp passes only through the library's C frames); every
// object with a destructor lives outside those stages.
struct Decoder {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  jpeg_source_mgr source{};
  jpeg_progress_mgr progress{};
  std::jmp_buf failed{};
  const uint8_t* data = nullptr;
  size_t size = 0;
  bool created = false;
  bool pastEnd = false;     // the library asked for bytes after the last one
  bool dataRanOut = false;  // a scan's data ended before its picture did

  Decoder(const uint8_t* bytes, size_t length) : data(bytes), size(length) {}
  ~Decoder() {
    if (created) jpeg_destroy_decompress(&info);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
};

Decoder* Of(j_common_ptr info) { return static_cast<Decoder*>(info->client_data); }

[[noreturn]] void Fail(j_common_ptr info) { std::longjmp(Of(info)->failed, 1); }

// Messages are never printed. A warning that the scan data stopped short is noted: the library
// fills the rest of the picture with grey and carries on.
void Message(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_HIT_MARKER) Of(info)->dataRanOut = true;
}
void NoOutput(j_common_ptr) {}

void Progress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMostScans) Fail(info);
}

// The whole file is the source's one buffer; an ask for more gets an end marker, so that the
// library stops, and the decode is refused afterwards.
void InitSource(j_decompress_ptr) {}
boolean FillInput(j_decompress_ptr info) {
  Of(reinterpret_cast<j_common_ptr>(info))->pastEnd = true;
  info->src->next_input_byte = kEndMarker;
  info->src->bytes_in_buffer = sizeof kEndMarker;
  return TRUE;
}
void SkipInput(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* source = info->src;
  if (static_cast<unsigned long>(count) > source->bytes_in_buffer) {
    FillInput(info);
    return;
  }
  source->next_input_byte += count;
  source->bytes_in_buffer -= static_cast<size_t>(count);
}
void TermSource(j_decompress_ptr) {}

// Stage one: the headers, up to the first scan. False on damage.
bool ReadHeaders(Decoder* d) {
  if (setjmp(d->failed) != 0) return false;
  d->info.err = jpeg_std_error(&d->errors);
  d->errors.error_exit = Fail;
  d->errors.emit_message = Message;
  d->errors.output_message = NoOutput;
  jpeg_create_decompress(&d->info);
  d->created = true;
  d->info.client_data = d;
  d->source.init_source = InitSource;
  d->source.fill_input_buffer = FillInput;
  d->source.skip_input_data = SkipInput;
  d->source.resync_to_restart = jpeg_resync_to_restart;
  d->source.term_source = TermSource;
  d->source.next_input_byte = d->data;
  d->source.bytes_in_buffer = d->size;
  d->info.src = &d->source;
  d->progress.progress_monitor = Progress;
  d->info.progress = &d->progress;
  return jpeg_read_header(&d->info, TRUE) == JPEG_HEADER_OK && !d->pastEnd;
}

bool Supported(const jpeg_decompress_struct& info) {
  // Arithmetic coding is left out: its flat pictures take less than a bit a block, which the
  // length check before decoding relies on.
  if (info.arith_code || info.data_precision != 8) return false;
  int components = info.num_components;
  return components == 1 || components == 3 || components == 4;
}

// Stage two: the picture into rows of four bytes a pixel (in the pixel order, or C, M, Y, K);
// the library writes every byte of every row. False on damage, or when the file ended before
// the end marker.
bool ReadPicture(Decoder* d, PixelOrder order, uint8_t* pixels, size_t limit) {
  if (setjmp(d->failed) != 0) return false;
  jpeg_decompress_struct& info = d->info;
  J_COLOR_SPACE colour = order == PixelOrder::Bgra ? JCS_EXT_BGRA : JCS_EXT_RGBA;
  info.out_color_space = info.num_components == 4 ? JCS_CMYK : colour;
  info.mem->max_memory_to_use = static_cast<long>(limit);
  jpeg_start_decompress(&info);
  if (info.output_components != 4) return false;
  size_t stride = static_cast<size_t>(info.output_width) * 4;
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[kRowsAtOnce];
    JDIMENSION first = info.output_scanline;
    int count = 0;
    for (; count < kRowsAtOnce && first + count < info.output_height; ++count)
      rows[count] = pixels + (first + count) * stride;
    if (jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count)) == 0) return false;
  }
  jpeg_finish_decompress(&info);
  return !d->pastEnd && !d->dataRanOut;
}

// C, M, Y, K to R, G, B, A or B, G, R, A in place. Adobe's files store the four inverted, as do
// most CMYK JPEG files.
void CmykToColour(bool inverted, PixelOrder order, uint8_t* pixels, size_t count) {
  // Where cyan's, magenta's and yellow's colours (red, green, blue) go.
  const int at[3] = {order == PixelOrder::Bgra ? 2 : 0, 1, order == PixelOrder::Bgra ? 0 : 2};
  for (uint8_t* p = pixels; count-- > 0; p += 4) {
    uint32_t k = inverted ? p[3] : 255u - p[3];
    uint8_t colour[3];
    for (int c = 0; c < 3; ++c) {
      uint32_t ink = inverted ? p[c] : 255u - p[c];
      uint32_t t = ink * k + 128;
      colour[c] = static_cast<uint8_t>((t + (t >> 8)) >> 8);
    }
    for (int c = 0; c < 3; ++c) p[at[c]] = colour[c];
    p[3] = 255;
  }
}

}  // namespace

bool JpegSides(const uint8_t* data, size_t size, int* w, int* h) {
  if (data == nullptr || size < 2 || data[0] != 0xff || data[1] != 0xd8) return false;
  Decoder decoder(data, size);
  if (!ReadHeaders(&decoder)) return false;
  *w = static_cast<int>(decoder.info.image_width);
  *h = static_cast<int>(decoder.info.image_height);
  return true;
}

bool DecodeJpeg(const uint8_t* data, size_t size, PixelOrder order, int* w, int* h,
                ByteBlock* pixels) {
  pixels->Clear();
  if (data == nullptr || size < 2 || data[0] != 0xff || data[1] != 0xd8) return false;
  Decoder decoder(data, size);
  if (!ReadHeaders(&decoder) || !Supported(decoder.info)) return false;
  int width = static_cast<int>(decoder.info.image_width);
  int height = static_cast<int>(decoder.info.image_height);
  // A file too short for its picture is refused before the picture's memory is taken.
  if (!LongEnough(data, size, width, height)) return false;
  size_t count = static_cast<size_t>(width) * height;
  if (!pixels->Allocate(count * 4, kRowSkew)) return false;
  if (!ReadPicture(&decoder, order, pixels->data(), DecodeBlockLimit(width, height, size)) ||
      static_cast<int>(decoder.info.output_width) != width ||
      static_cast<int>(decoder.info.output_height) != height) {
    pixels->Clear();
    return false;
  }
  if (decoder.info.num_components == 4)
    CmykToColour(decoder.info.saw_Adobe_marker != 0, order, pixels->data(), count);
  *w = width;
  *h = height;
  return true;
}

}  // namespace platform::imaging
