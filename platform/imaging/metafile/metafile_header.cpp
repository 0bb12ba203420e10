// Reading the header of a placeable WMF or an EMF.
#include "platform/imaging/metafile/metafile_header.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr size_t kPlaceableSize = 22;
constexpr size_t kWmfHeaderSize = 18;
constexpr size_t kEmfLeastHeader = 88;
constexpr double kPixelsPerInch = 96;
constexpr double kMmPerInch = 25.4;
// The largest side of a picture: the most cairo's image surfaces take.
constexpr double kLargestSide = 32767;
// The most pixels a picture may have, as for every image the imaging calls read: a picture of
// two sides of 32767 would take 4 GB, and as much again for its R, G, B, A copy.
constexpr int64_t kMostPixels = int64_t{1} << 28;

// Pixels for a length of units at unitsPerInch, rounded; 0 when the picture would be empty or
// too large.
int Pixels(double units, double unitsPerInch) {
  double pixels = std::round(units * kPixelsPerInch / unitsPerInch);
  return pixels >= 1 && pixels <= kLargestSide ? static_cast<int>(pixels) : 0;
}

bool ReadWmf(RecordReader& file, Header* out) {
  int32_t left = file.S16(6), top = file.S16(8), right = file.S16(10), bottom = file.S16(12);
  double inch = file.U16(14);
  // The header that follows the placeable one: type 1 (memory) or 2 (disk), nine words long.
  uint16_t type = file.U16(kPlaceableSize), words = file.U16(kPlaceableSize + 2);
  if (file.Short() || inch == 0 || (type != 1 && type != 2) || words != 9) return false;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  out->kind = Kind::Wmf;
  out->width = Pixels(right - left, inch);
  out->height = Pixels(bottom - top, inch);
  // Device units are the box's own, so the box fills the picture exactly.
  out->scaleX = out->width / static_cast<double>(right - left);
  out->scaleY = out->height / static_cast<double>(bottom - top);
  out->offsetX = -left * out->scaleX;
  out->offsetY = -top * out->scaleY;
  out->unitsPerMmX = out->unitsPerMmY = inch / kMmPerInch;
  out->boxLeft = left;
  out->boxTop = top;
  out->boxWidth = right - left;
  out->boxHeight = bottom - top;
  out->objectCount = file.U16(kPlaceableSize + 10);
  out->firstRecord = kPlaceableSize + kWmfHeaderSize;
  return out->width > 0 && out->height > 0;
}

// A WMF without the placeable header names no size of its own: it is drawn at its window's extent
// (its first SetWindowExt, from its first SetWindowOrg), one unit a pixel. One that never sets a
// window extent is refused.
bool ReadPlainWmf(RecordReader& file, Header* out) {
  constexpr uint16_t kEof = 0x0000, kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C;
  int32_t orgX = 0, orgY = 0, extX = 0, extY = 0;
  bool haveOrg = false, haveExt = false;
  for (size_t at = kWmfHeaderSize; at < file.Size() && !haveExt;) {
    uint64_t bytes = static_cast<uint64_t>(file.U32(at)) * 2;
    uint16_t function = file.U16(at + 4);
    if (file.Short() || bytes < 6 || bytes > file.Size() - at || function == kEof) break;
    if (function == kSetWindowOrg && !haveOrg && bytes >= 10)
      orgY = file.S16(at + 6), orgX = file.S16(at + 8), haveOrg = true;
    if (function == kSetWindowExt && bytes >= 10)
      extY = file.S16(at + 6), extX = file.S16(at + 8), haveExt = true;
    at += bytes;
  }
  if (!haveExt || extX == 0 || extY == 0) return false;
  int32_t left = std::min(orgX, orgX + extX), top = std::min(orgY, orgY + extY);
  int32_t width = std::abs(extX), height = std::abs(extY);
  if (width > kLargestSide || height > kLargestSide) return false;
  out->kind = Kind::Wmf;
  out->width = width;
  out->height = height;
  out->offsetX = -left;
  out->offsetY = -top;
  out->unitsPerMmX = out->unitsPerMmY = kPixelsPerInch / kMmPerInch;
  out->boxLeft = left;
  out->boxTop = top;
  out->boxWidth = width;
  out->boxHeight = height;
  out->objectCount = file.U16(10);
  out->firstRecord = kWmfHeaderSize;
  return true;
}

bool IsPlainWmf(RecordReader& file) {
  uint16_t type = file.U16(0), words = file.U16(2), version = file.U16(4);
  return !file.Short() && (type == 1 || type == 2) && words == 9 &&
         (version == 0x0100 || version == 0x0300);
}

bool ReadEmf(RecordReader& file, Header* out) {
  uint32_t headerSize = file.U32(4);
  int64_t left = file.S32(24), top = file.S32(28), right = file.S32(32), bottom = file.S32(36);
  double devicePixelsX = file.S32(72), devicePixelsY = file.S32(76);
  double deviceMmX = file.S32(80), deviceMmY = file.S32(84);
  if (file.Short() || headerSize < kEmfLeastHeader || headerSize % 4 != 0 ||
      headerSize > file.Size())
    return false;
  if (right <= left || bottom <= top || devicePixelsX <= 0 || devicePixelsY <= 0 ||
      deviceMmX <= 0 || deviceMmY <= 0)
    return false;
  out->kind = Kind::Emf;
  // The frame is in hundredths of a millimetre.
  out->width = Pixels((right - left) / 100.0, kMmPerInch);
  out->height = Pixels((bottom - top) / 100.0, kMmPerInch);
  if (out->width == 0 || out->height == 0) return false;
  out->unitsPerMmX = devicePixelsX / deviceMmX;
  out->unitsPerMmY = devicePixelsY / deviceMmY;
  // The frame in device units fills the picture.
  double frameLeft = left / 100.0 * out->unitsPerMmX, frameTop = top / 100.0 * out->unitsPerMmY;
  out->scaleX = out->width / ((right - left) / 100.0 * out->unitsPerMmX);
  out->scaleY = out->height / ((bottom - top) / 100.0 * out->unitsPerMmY);
  out->offsetX = -frameLeft * out->scaleX;
  out->offsetY = -frameTop * out->scaleY;
  out->objectCount = file.U16(56);
  out->firstRecord = headerSize;
  return true;
}

}  // namespace

bool IsMetafile(const uint8_t* data, size_t size) {
  RecordReader file(data, size);
  if (file.U32(0) == kPlaceableKey) return true;
  return (file.U32(0) == 1 && file.U32(40) == kEmfSignature) || IsPlainWmf(file);
}

bool ReadHeader(const uint8_t* data, size_t size, Header* out) {
  RecordReader file(data, size);
  *out = Header{};
  bool read = false;
  if (file.U32(0) == kPlaceableKey)
    read = ReadWmf(file, out);
  else if (file.U32(0) == 1 && file.U32(40) == kEmfSignature)
    read = ReadEmf(file, out);
  else if (IsPlainWmf(file))
    read = ReadPlainWmf(file, out);
  return read && int64_t{out->width} * out->height <= kMostPixels;
}

}  // namespace platform::metafile
