// One page of R, G, B, A strips through libtiff's writer.
#include "platform/imaging/tiff_encode.h"

#include <tiffio.h>

#include <cstring>
#include <vector>

#include "platform/imaging/tiff_memory_file.h"

namespace platform::imaging {

namespace {

// libtiff's own allocations while writing are a strip and its compressed copy at most.
constexpr size_t kWriteBlockLimit = size_t{1} << 30;

bool WriteTags(TIFF* tiff, int w, int h) {
  uint16_t alpha[1] = {EXTRASAMPLE_UNASSALPHA};
  return TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(w)) == 1 &&
         TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(h)) == 1 &&
         TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) == 1 &&
         TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4) == 1 &&
         TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, alpha) == 1 &&
         TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) == 1 &&
         TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == 1 &&
         TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) == 1 &&
         TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW) == 1 &&
         TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0)) == 1;
}

}  // namespace

bool EncodeTiff(const uint8_t* rgba, int w, int h, std::string* out) {
  if (rgba == nullptr || w < 1 || h < 1) return false;
  TiffMemoryFile file(out);
  TIFF* tiff = file.Open(kWriteBlockLimit);
  if (tiff == nullptr || !WriteTags(tiff, w, h)) return false;
  // libtiff may compress a row in place, so each goes through a copy of its own.
  size_t rowBytes = static_cast<size_t>(w) * 4;
  std::vector<uint8_t> row(rowBytes);
  for (int y = 0; y < h; ++y) {
    std::memcpy(row.data(), rgba + static_cast<size_t>(y) * rowBytes, rowBytes);
    if (TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0) != 1) return false;
  }
  return file.Close() && !out->empty();
}

}  // namespace platform::imaging
