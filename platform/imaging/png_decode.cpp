// Decoding PNG files with libpng, straight into the caller's pixels.
#include "platform/imaging/png_decode.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "platform/imaging/decode_budget.h"

namespace platform::imaging {

namespace {

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr size_t kHeaderEnd = 33;  // signature, then the IHDR chunk of 13 bytes with its frame
// Deflate's best: a 258-byte match in two bits, so one compressed byte gives 1032 at most.
constexpr uint64_t kMostInflation = 1032;
// Compressed data beyond the picture's raw size: deflate's stored blocks cost 5 bytes in 65535,
// and encoders end the stream with a few bytes more.
constexpr uint64_t kSlack = 1024;

uint32_t Be32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// The rows' bytes as the compressed data holds them (a filter byte per row), without
// interlacing: the least that data can inflate to.
uint64_t RawSize(const uint8_t* header, uint32_t w, uint32_t h) {
  uint32_t depth = header[24], colourType = header[25];
  uint32_t channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
  return (static_cast<uint64_t>(w) * channels * depth + 7) / 8 * h + h;
}

// Walks the chunks to IEND: every chunk lies wholly in the file, and the compressed data is
// enough for the picture and not much more than it needs. A file cut short fails here, before
// anything is decoded.
bool ChunksHold(const uint8_t* data, size_t size, uint32_t w, uint32_t h) {
  uint64_t compressed = 0;
  size_t at = sizeof kSignature;
  for (;;) {
    if (size - at < 12) return false;
    uint32_t length = Be32(data + at);
    if (length > 0x7fffffff || length > size - at - 12) return false;
    const uint8_t* type = data + at + 4;
    at += 12 + static_cast<size_t>(length);
    if (std::memcmp(type, "IDAT", 4) == 0) compressed += length;
    if (std::memcmp(type, "IEND", 4) == 0) break;
  }
  uint64_t raw = RawSize(data, w, h);
  return compressed * kMostInflation >= raw && compressed <= 2 * raw + kSlack;
}

// The file, read in the pieces libpng asks for; an ask past the end is an error.
struct Source {
  const uint8_t* data;
  size_t size;
  size_t at;
};

void Read(png_structp png, png_bytep out, size_t count) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  if (count > source->size - source->at) png_error(png, "cut short");
  std::memcpy(out, source->data + source->at, count);
  source->at += count;
}

// Errors jump back to the running stage of the decode, through libpng's C frames only; nothing is
// printed.
void Error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Warning(png_structp, png_const_charp) {}

// libpng and zlib write every byte they later read, so their blocks need no clearing (which
// would cost a small picture's decode a fifth of its time: zlib's window alone is 32 KB).
png_voidp TakeBlock(png_structp, png_alloc_size_t size) {
  return FitsBudget(size) ? std::malloc(size) : nullptr;
}
void GiveBlock(png_structp, png_voidp block) { std::free(block); }

// libpng's state for one decode; every object with a destructor lives outside the stages that
// may jump.
struct Decoder {
  png_structp png = nullptr;
  png_infop info = nullptr;
  Source source;

  Decoder(const uint8_t* data, size_t size) : source{data, size, 0} {}
  ~Decoder() {
    if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
};

// Stage one: the chunks up to the picture's data, and the conversions to 8-bit R, G, B, A (or
// B, G, R, A).
bool ReadHeader(Decoder* d, PixelOrder order) {
  d->png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, Error, Warning, nullptr,
                                    TakeBlock, GiveBlock);
  if (d->png == nullptr) return false;
  d->info = png_create_info_struct(d->png);
  if (d->info == nullptr) return false;
  if (setjmp(png_jmpbuf(d->png)) != 0) return false;
  png_set_read_fn(d->png, &d->source, Read);
  // Checksums are not checked (as most decoders do not): a picture whose chunks all arrived is
  // read whatever its checksums say.
  png_set_crc_action(d->png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
  // Nor the compressed data's own checksum, whose sum over every inflated byte would cost a
  // tenth of the decode; a damaged stream still fails to inflate or fills the rows it fills.
  png_set_option(d->png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
  png_read_info(d->png, d->info);
  png_set_expand(d->png);  // palettes, grey below 8 bits and tRNS to 8-bit colour and alpha
  png_set_strip_16(d->png);
  png_set_gray_to_rgb(d->png);
  if (order == PixelOrder::Bgra) png_set_bgr(d->png);
  png_set_add_alpha(d->png, 0xff, PNG_FILLER_AFTER);
  png_set_interlace_handling(d->png);
  png_read_update_info(d->png, d->info);
  return png_get_rowbytes(d->png, d->info) == png_get_image_width(d->png, d->info) * 4;
}

// Stage two: every row, then the chunks to IEND. libpng writes every byte of every row (each
// pixel of an interlaced picture in one of its passes), or fails.
bool ReadRows(Decoder* d, png_bytepp rows) {
  if (setjmp(png_jmpbuf(d->png)) != 0) return false;
  png_read_image(d->png, rows);
  png_read_end(d->png, nullptr);
  return true;
}

bool Allocate(ByteBlock* pixels, std::vector<png_bytep>* rows, uint32_t w, uint32_t h) {
  try {
    rows->resize(h);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!pixels->Allocate(static_cast<size_t>(w) * h * 4)) return false;
  for (uint32_t y = 0; y < h; ++y) (*rows)[y] = pixels->data() + static_cast<size_t>(y) * w * 4;
  return true;
}

}  // namespace

bool IsPng(const uint8_t* data, size_t size) {
  return data != nullptr && size >= sizeof kSignature &&
         std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

bool PngSides(const uint8_t* data, size_t size, int* w, int* h) {
  if (!IsPng(data, size) || size < kHeaderEnd || std::memcmp(data + 12, "IHDR", 4) != 0)
    return false;
  uint32_t width = Be32(data + 16), height = Be32(data + 20);
  if (width == 0 || height == 0 || width > PNG_USER_WIDTH_MAX || height > PNG_USER_HEIGHT_MAX)
    return false;
  *w = static_cast<int>(width);
  *h = static_cast<int>(height);
  return true;
}

bool DecodePng(const uint8_t* data, size_t size, PixelOrder order, int* w, int* h,
               ByteBlock* pixels) {
  pixels->Clear();
  int width = 0, height = 0;
  if (!PngSides(data, size, &width, &height) || !ChunksHold(data, size, width, height))
    return false;
  Decoder decoder(data, size);
  DecodeBudget budget(DecodeBlockLimit(width, height, size));
  if (!ReadHeader(&decoder, order) ||
      png_get_image_width(decoder.png, decoder.info) != uint32_t(width) ||
      png_get_image_height(decoder.png, decoder.info) != uint32_t(height))
    return false;
  std::vector<png_bytep> rows;
  if (!Allocate(pixels, &rows, width, height)) return false;
  if (!ReadRows(&decoder, rows.data())) {
    pixels->Clear();
    return false;
  }
  *w = width;
  *h = height;
  return true;
}

}  // namespace platform::imaging
