// The first page of a TIFF file through libtiff's RGBA reader, checked before and after.
#include "platform/imaging/tiff_decode.h"

#include <tiffio.h>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/tiff_layout.h"
#include "platform/imaging/tiff_memory_file.h"

namespace platform::imaging {

namespace {

// The most bytes of picture one byte of each compression can give, for the check that a page
// holds enough data for its sides: a PackBits run of 128 bytes in 2; a 9-bit LZW code for a
// string of up to 4096 bytes; Deflate's longest match, 258 bytes, in 2 bits; one bit for each
// JPEG block of 64 samples of up to 2 bytes. 0: a compression that is not read.
uint64_t MostBytesPerByte(uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE: return 1;
    case COMPRESSION_PACKBITS: return 64;
    case COMPRESSION_LZW: return 4096 * 8 / 9 + 1;
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return 1032;
    case COMPRESSION_JPEG: return 1024;
    default: return 0;
  }
}

bool IsFax(uint16_t compression) {
  return compression == COMPRESSION_CCITTRLE || compression == COMPRESSION_CCITTFAX3 ||
         compression == COMPRESSION_CCITTFAX4;
}

// Whether the page's strips or tiles hold enough data for its picture. A tiled page stores
// whole tiles, the right and bottom ones reaching past the picture, and libtiff keeps their byte
// counts where a page in strips keeps the strips'. A fax row of any width can be coded in one
// bit, so fax pages are bound by their rows only.
bool EnoughData(TIFF* tiff, uint32_t height) {
  uint16_t compression = COMPRESSION_NONE, planar = PLANARCONFIG_CONTIG, samples = 1;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  bool tiled = TIFFIsTiled(tiff) != 0;
  uint32_t pieces = tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
  uint64_t data = 0;
  for (uint32_t i = 0; i < pieces; ++i) data += TIFFGetStrileByteCount(tiff, i);
  if (IsFax(compression)) return data * 8 >= height;
  uint64_t ratio = MostBytesPerByte(compression);
  if (ratio == 0) return false;
  uint64_t rows = static_cast<uint64_t>(height) * (planar == PLANARCONFIG_SEPARATE ? samples : 1);
  uint64_t picture = tiled ? TIFFTileSize64(tiff) * pieces : TIFFScanlineSize64(tiff) * rows;
  return picture > 0 && data * ratio >= picture;
}

// Whether the page's alpha is associated (premultiplied) and must be divided out. A page with
// unassociated alpha is told to libtiff as associated, so that its reader hands the values over
// as they are instead of multiplying them in and losing the colours of faint pixels.
bool TakeAlphaAsItIs(TIFF* tiff) {
  uint16_t count = 0;
  uint16_t* kinds = nullptr;
  if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &count, &kinds) != 1 || count == 0) return false;
  if (kinds[0] != EXTRASAMPLE_UNASSALPHA) return kinds[0] == EXTRASAMPLE_ASSOCALPHA;
  std::vector<uint16_t> told(kinds, kinds + count);
  told[0] = EXTRASAMPLE_ASSOCALPHA;
  TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, count, told.data());
  return false;
}

uint8_t Unpremultiplied(uint32_t value, uint32_t alpha) {
  if (alpha == 0) return 0;
  uint32_t straight = (value * 255 + alpha / 2) / alpha;
  return static_cast<uint8_t>(straight > 255 ? 255 : straight);
}

// Gives an uncompressed tiled page a read buffer of exactly one tile. libtiff rounds the buffers
// it makes itself up to whole kilobytes, and its tile reader then refuses an uncompressed tile
// whose size is not a whole number of kilobytes (16 x 16 RGB tiles, say) as of another size. The
// buffer is no larger than the file: such a page holds every tile whole (EnoughData).
void SetUpTileBuffer(TIFF* tiff, std::vector<uint8_t>* buffer) {
  uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
  if (TIFFIsTiled(tiff) == 0 || compression != COMPRESSION_NONE) return;
  buffer->resize(static_cast<size_t>(TIFFTileSize64(tiff)));
  TIFFReadBufferSetup(tiff, buffer->data(), static_cast<tmsize_t>(buffer->size()));
}

// Reads the page into packed A, B, G, R words, its first stored row first.
bool ReadRaster(TIFF* tiff, uint32_t w, uint32_t h, std::vector<uint32_t>* raster) {
  char message[1024];
  if (TIFFRGBAImageOK(tiff, message) != 1) return false;
  TIFFRGBAImage image;
  if (TIFFRGBAImageBegin(&image, tiff, 1, message) != 1) return false;
  // Asked for the orientation the file has, the reader turns nothing round.
  image.req_orientation = image.orientation;
  raster->assign(static_cast<size_t>(w) * h, 0);
  bool read = TIFFRGBAImageGet(&image, raster->data(), w, h) == 1;
  TIFFRGBAImageEnd(&image);
  return read;
}

}  // namespace

bool DecodeTiff(const uint8_t* data, size_t size, int* w, int* h, std::vector<uint8_t>* rgba) {
  TiffLayout layout;
  if (!ReadTiffLayout(data, size, &layout)) return false;
  TiffMemoryFile file(data, size);
  TIFF* tiff = file.Open(DecodeBlockLimit(layout.width, layout.height, size));
  if (tiff == nullptr) return false;
  uint32_t width = 0, height = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  if (width != static_cast<uint32_t>(layout.width) ||
      height != static_cast<uint32_t>(layout.height) || !EnoughData(tiff, height))
    return false;
  bool premultiplied = TakeAlphaAsItIs(tiff);
  std::vector<uint8_t> tileBuffer;
  SetUpTileBuffer(tiff, &tileBuffer);
  std::vector<uint32_t> raster;
  if (!ReadRaster(tiff, width, height, &raster) || file.Failed()) return false;

  rgba->resize(raster.size() * 4);
  for (size_t i = 0; i < raster.size(); ++i) {
    uint32_t word = raster[i], alpha = TIFFGetA(word);
    uint8_t* pixel = rgba->data() + i * 4;
    pixel[0] = static_cast<uint8_t>(TIFFGetR(word));
    pixel[1] = static_cast<uint8_t>(TIFFGetG(word));
    pixel[2] = static_cast<uint8_t>(TIFFGetB(word));
    pixel[3] = static_cast<uint8_t>(alpha);
    if (premultiplied && alpha < 255)
      for (int c = 0; c < 3; ++c) pixel[c] = Unpremultiplied(pixel[c], alpha);
  }
  *w = layout.width;
  *h = layout.height;
  return true;
}

}  // namespace platform::imaging
