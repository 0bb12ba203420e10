// The WMF raster records, one function each.
#include "platform/imaging/metafile/wmf_raster_records.h"

#include <memory>

#include "platform/imaging/metafile/bitmap16.h"
#include "platform/imaging/metafile/blit.h"
#include "platform/imaging/metafile/palette.h"

namespace platform::metafile {

namespace {

enum : uint32_t {
  kRealizePalette = 0x0035,
  kSetPalEntries = 0x0037,
  kSetRop2 = 0x0104,
  kResizePalette = 0x0139,
  kCreatePalette = 0x00F7,
  kCreatePatternBrush = 0x01F9,
  kSelectPalette = 0x0234,
  kBitBlt = 0x0922,
  kStretchBlt = 0x0B23,
};

constexpr size_t kParams = 6;           // size and function come first
constexpr size_t kBitmap16Header = 10;  // the Bitmap16's fields before its rows
// CreatePatternBrush: the Bitmap16's fields with 4 bytes more, 18 reserved bytes, then the rows.
constexpr size_t kPatternRowsAt = 32;
constexpr int64_t kLargestPattern = 1 << 16;

double Param(RecordReader& r, size_t i) { return r.S16(kParams + i * 2); }

// BitBlt and StretchBlt: with a bitmap the record ends in it; without, it holds one more word
// before the destination and the operation goes on its own (as PatBlt).
void Blit(Canvas& canvas, RecordReader& r, bool stretch) {
  size_t fixed = stretch ? 22 : 18;
  bool withBitmap = r.Size() > kParams + fixed;
  size_t d = withBitmap ? 0 : 1, first = stretch ? 2 : 0;
  uint32_t rop = r.U32(kParams);
  BlitArea area{Param(r, d + first + 7), Param(r, d + first + 6), Param(r, d + first + 5),
                Param(r, d + first + 4)};
  // Without stretching the source is as large as the destination.
  area.srcX = Param(r, first + 3), area.srcY = Param(r, first + 2);
  area.srcW = stretch ? Param(r, 3) : area.w, area.srcH = stretch ? Param(r, 2) : area.h;
  if (r.Short()) return;
  if (!withBitmap) {
    FillArea(canvas, area.x, area.y, area.w, area.h, rop);
    return;
  }
  // The bitmap takes the place of the word the form without one holds.
  size_t at = kParams + fixed - 2;
  const DcState& state = canvas.State();
  DibPixels pixels;
  if (DecodeBitmap16(r.Bytes(at, 0), r.Size() - at, kBitmap16Header, state, state.textColor,
                     state.backColor, &pixels))
    DrawBitmap(canvas, pixels, area, rop);
}

// A monochrome pattern keeps its bits, to take the text and background colours where it is drawn;
// the object takes its entry even when its picture cannot be read.
void CreatePatternBrush(Canvas& canvas, RecordReader& r) {
  GdiObject object;
  object.kind = ObjectKind::Brush;
  object.brush.style = kBrushNull;
  DibPixels pixels;
  bool mono = r.U8(kParams + 9) == 1;
  if (DecodeBitmap16(r.Bytes(kParams, 0), r.Size() - kParams, kPatternRowsAt, canvas.State(),
                     Color{0, 0, 0}, Color{255, 255, 255}, &pixels) &&
      static_cast<int64_t>(pixels.width) * pixels.height <= kLargestPattern) {
    auto bits = std::make_shared<PatternBits>();
    bits->width = pixels.width;
    bits->height = pixels.height;
    bits->pixels.assign(pixels.pixels,
                        pixels.pixels + static_cast<size_t>(pixels.width) * pixels.height);
    bits->mono = mono;
    object.brush.style = kBrushPattern;
    object.brush.pattern = bits;
  }
  canvas.AddObject(object);
}

// ---- palettes: a start word (0), a count and the entries

void CreatePalette(Canvas& canvas, RecordReader& r) {
  size_t count = r.U16(kParams + 2);
  const uint8_t* entries = r.Bytes(kParams + 4, count * 4);
  GdiObject object;
  object.kind = ObjectKind::Palette;
  if (entries != nullptr) object.palette = ReadPalette(entries, count);
  // The entry is taken even when no palette is made, as later records number objects by it.
  canvas.AddObject(object);
}

void SetPalEntries(Canvas& canvas, RecordReader& r) {
  Palette* palette = canvas.State().palette.get();
  size_t start = r.U16(kParams), count = r.U16(kParams + 2);
  const uint8_t* entries = r.Bytes(kParams + 4, count * 4);
  if (palette == nullptr || entries == nullptr) return;
  SetEntries(palette, start, entries, count);
  canvas.ResolveColors();
}

void Resize(Canvas& canvas, RecordReader& r) {
  Palette* palette = canvas.State().palette.get();
  size_t count = r.U16(kParams);
  if (!r.Short() && palette != nullptr && ResizePalette(palette, count)) canvas.ResolveColors();
}

}  // namespace

bool PlayWmfRasterRecord(Canvas& canvas, uint32_t function, RecordReader& r) {
  switch (function) {
    case kSetRop2:
      if (uint32_t mode = r.U16(kParams); !r.Short() && mode >= kR2Black && mode <= kR2White)
        canvas.State().rop2 = mode;
      return true;
    case kCreatePalette: CreatePalette(canvas, r); return true;
    case kSelectPalette: canvas.SelectPalette(r.U16(kParams)); return true;
    // On a device of true colour, realizing a palette changes no colour.
    case kRealizePalette: return true;
    case kSetPalEntries: SetPalEntries(canvas, r); return true;
    case kResizePalette: Resize(canvas, r); return true;
    case kCreatePatternBrush: CreatePatternBrush(canvas, r); return true;
    case kBitBlt: Blit(canvas, r, false); return true;
    case kStretchBlt: Blit(canvas, r, true); return true;
    default: return false;
  }
}

}  // namespace platform::metafile
