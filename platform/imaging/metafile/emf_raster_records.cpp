// The EMF raster records, one function each.
#include "platform/imaging/metafile/emf_raster_records.h"

#include <algorithm>
#include <vector>

#include "platform/imaging/metafile/blit.h"
#include "platform/imaging/metafile/palette.h"

namespace platform::metafile {

namespace {

enum : uint32_t {
  kSetRop2 = 20,
  kSelectPalette = 48,
  kCreatePalette = 49,
  kSetPaletteEntries = 50,
  kResizePalette = 51,
  kRealizePalette = 52,
  kMaskBlt = 78,
  kPlgBlt = 79,
  kSetDiBitsToDevice = 80,
  kTransparentBlt = 116,
};

constexpr size_t kMaskBltSize = 128, kPlgBltSize = 140, kTransparentBltSize = 108;

// A record's mask, placed by fields as RecordDib places a bitmap: 1 when it is read, 0 when the
// record has none, -1 when it is damaged.
int RecordMask(RecordReader& r, size_t fields, DibPixels* mask) {
  size_t infoAt = r.U32(fields), infoSize = r.U32(fields + 4);
  size_t bitsAt = r.U32(fields + 8), bitsSize = r.U32(fields + 12);
  if (infoSize == 0) return 0;
  const uint8_t* info = r.Bytes(infoAt, infoSize);
  const uint8_t* bits = r.Bytes(bitsAt, bitsSize);
  if (info == nullptr || bits == nullptr) return -1;
  return DecodeMask(info, infoSize, bits, bitsSize, mask) ? 1 : -1;
}

// The rows of a bitmap that SetDIBitsToDevice carries: scans rows from start, in the order the
// bitmap stores them. The header is made one of that many rows, so that the bits decode alone; a
// compressed bitmap carries all its rows. False when no row is there.
bool KeepScans(std::vector<uint8_t>* header, uint32_t* start, uint32_t* scans, bool* bottomUp) {
  RecordReader info(header->data(), header->size());
  uint32_t size = info.U32(0);
  bool core = size == 12;
  int64_t height = core ? info.U16(6) : info.S32(8);
  uint32_t compression = core ? 0 : info.U32(16);
  if (info.Short() || (!core && size < 40)) return false;
  int64_t rows = height < 0 ? -height : height;
  *bottomUp = height > 0;
  if (compression != 0 && compression != 3) {
    *start = 0, *scans = static_cast<uint32_t>(rows);
    return true;
  }
  if (*start >= rows || *scans == 0) return false;
  *scans = static_cast<uint32_t>(std::min<int64_t>(*scans, rows - *start));
  int64_t kept = *bottomUp ? int64_t{*scans} : -int64_t{*scans};
  for (int i = 0; i < (core ? 2 : 4); ++i) (*header)[(core ? 6 : 8) + i] = uint8_t(kept >> (8 * i));
  return true;
}

// SetDIBitsToDevice: the source rectangle's bottom row counts from the bottom of a bitmap stored
// bottom row first, as StretchDIBits's does.
void SetDiBitsToDevice(Canvas& canvas, RecordReader& r) {
  BlitArea area{double(r.S32(24)), double(r.S32(28)), 0, 0, double(r.S32(32)), double(r.S32(36)),
                double(r.S32(40)), double(r.S32(44))};
  size_t infoAt = r.U32(48), infoSize = r.U32(52), bitsAt = r.U32(56), bitsSize = r.U32(60);
  uint32_t usage = r.U32(64), start = r.U32(68), scans = r.U32(72);
  const uint8_t* info = r.Bytes(infoAt, infoSize);
  const uint8_t* bits = r.Bytes(bitsAt, bitsSize);
  if (r.Short() || info == nullptr || bits == nullptr) return;
  std::vector<uint8_t> header(info, info + infoSize);
  bool bottomUp = true;
  DibPixels pixels;
  if (!KeepScans(&header, &start, &scans, &bottomUp) ||
      !DecodeDib(header.data(), header.size(), bits, bitsSize, usage, &pixels, false,
                 canvas.State().palette.get()))
    return;
  area.srcY = bottomUp ? double(start) + scans - area.srcY - area.srcH : area.srcY - start;
  DrawOnDevice(canvas, pixels, area);
}

void MaskBlt(Canvas& canvas, RecordReader& r) {
  BlitArea area{double(r.S32(24)),
                double(r.S32(28)),
                double(r.S32(32)),
                double(r.S32(36)),
                double(r.S32(44)),
                double(r.S32(48)),
                0,
                0};
  uint32_t rop4 = r.U32(40);
  if (r.Short() || !r.Has(0, kMaskBltSize)) return;
  DibPixels source, mask;
  bool hasSource = r.U32(88) != 0;
  if (hasSource && !RecordDib(canvas, r, 84, r.U32(80), &source)) return;
  int hasMask = RecordMask(r, 112, &mask);
  if (hasMask < 0) return;
  DrawMasked(canvas, hasSource ? &source : nullptr, hasMask ? &mask : nullptr, area, r.S32(100),
             r.S32(104), rop4);
}

void PlgBlt(Canvas& canvas, RecordReader& r) {
  PointD corners[3];
  for (size_t i = 0; i < 3; ++i)
    corners[i] = {double(r.S32(24 + i * 8)), double(r.S32(28 + i * 8))};
  BlitArea source{
      0, 0, 0, 0, double(r.S32(48)), double(r.S32(52)), double(r.S32(56)), double(r.S32(60))};
  if (r.Short() || !r.Has(0, kPlgBltSize)) return;
  DibPixels bitmap, mask;
  if (!RecordDib(canvas, r, 96, r.U32(92), &bitmap)) return;
  int hasMask = RecordMask(r, 124, &mask);
  if (hasMask < 0) return;
  DrawOnParallelogram(canvas, bitmap, hasMask ? &mask : nullptr, corners, source, r.S32(112),
                      r.S32(116));
}

// TransparentBlt: StretchBlt's fields with the colour left out in place of the raster operation.
// Its source rectangle, like MaskBlt's and PlgBlt's, is in the source's own coordinates, which
// count rows from the bitmap's top whichever way it stores them.
void TransparentBlt(Canvas& canvas, RecordReader& r) {
  BlitArea area{double(r.S32(24)), double(r.S32(28)), double(r.S32(32)),  double(r.S32(36)),
                double(r.S32(44)), double(r.S32(48)), double(r.S32(100)), double(r.S32(104))};
  Color left = canvas.Resolved(ColorOf(r.U32(40)));
  if (r.Short() || !r.Has(0, kTransparentBltSize) || area.srcW <= 0 || area.srcH <= 0) return;
  DibPixels bitmap;
  if (RecordDib(canvas, r, 84, r.U32(80), &bitmap)) DrawWithoutColor(canvas, &bitmap, area, left);
}

// ---- palettes

Palette* PaletteAt(Canvas& canvas, uint32_t index) {
  const GdiObject* object = canvas.Object(index);
  return object != nullptr && object->kind == ObjectKind::Palette ? object->palette.get() : nullptr;
}

// A palette of a version word, a count and the entries; one of no entries is not made.
void CreatePalette(Canvas& canvas, RecordReader& r) {
  size_t count = r.U16(14);
  const uint8_t* entries = r.Bytes(16, count * 4);
  if (r.Short()) return;
  GdiObject object;
  object.kind = ObjectKind::Palette;
  object.palette = ReadPalette(entries, count);
  if (object.palette != nullptr) canvas.PutObject(r.U32(8), object);
}

void SetPaletteEntries(Canvas& canvas, RecordReader& r) {
  Palette* palette = PaletteAt(canvas, r.U32(8));
  size_t start = r.U32(12), count = r.U32(16);
  const uint8_t* entries = r.Bytes(20, count * 4);
  if (r.Short() || palette == nullptr) return;
  SetEntries(palette, start, entries, count);
  canvas.ResolveColors();
}

void Resize(Canvas& canvas, RecordReader& r) {
  Palette* palette = PaletteAt(canvas, r.U32(8));
  if (!r.Short() && palette != nullptr && ResizePalette(palette, r.U32(12))) canvas.ResolveColors();
}

}  // namespace

bool RecordDib(Canvas& canvas, RecordReader& r, size_t fields, uint32_t usage, DibPixels* pixels,
               bool alpha) {
  size_t infoAt = r.U32(fields), infoSize = r.U32(fields + 4);
  size_t bitsAt = r.U32(fields + 8), bitsSize = r.U32(fields + 12);
  const uint8_t* info = r.Bytes(infoAt, infoSize);
  const uint8_t* bits = r.Bytes(bitsAt, bitsSize);
  if (info == nullptr || bits == nullptr || infoSize == 0) return false;
  return DecodeDib(info, infoSize, bits, bitsSize, usage, pixels, alpha,
                   canvas.State().palette.get());
}

bool PlayEmfRasterRecord(Canvas& canvas, uint32_t type, RecordReader& r) {
  switch (type) {
    case kSetRop2:
      if (uint32_t mode = r.U32(8); !r.Short() && mode >= kR2Black && mode <= kR2White)
        canvas.State().rop2 = mode;
      return true;
    case kSelectPalette: canvas.SelectPalette(r.U32(8)); return true;
    case kCreatePalette: CreatePalette(canvas, r); return true;
    case kSetPaletteEntries: SetPaletteEntries(canvas, r); return true;
    case kResizePalette: Resize(canvas, r); return true;
    // On a device of true colour, realizing a palette changes no colour.
    case kRealizePalette: return true;
    case kMaskBlt: MaskBlt(canvas, r); return true;
    case kPlgBlt: PlgBlt(canvas, r); return true;
    case kSetDiBitsToDevice: SetDiBitsToDevice(canvas, r); return true;
    case kTransparentBlt: TransparentBlt(canvas, r); return true;
    default: return false;
  }
}

}  // namespace platform::metafile
