// The EMF's text records: each EmrText read into a text run, its 8-bit text through the font's
// code page.
#include "platform/imaging/metafile/emf_text.h"

#include "platform/imaging/metafile/text.h"

namespace platform::metafile {

namespace {

constexpr uint32_t kGlyphIndex = 0x10, kNoRect = 0x100, kPairs = 0x2000;
constexpr uint32_t kAdvancedMode = 2;
// An EmrText's fields: reference point, count, string offset, options, box and spacing offset.
constexpr size_t kEmrTextSize = 40, kBoxAt = 20, kDxAt = 36;

// The EmrText at `at` of a text record, whose string and spacing array lie at offsets from the
// record's start; its spacing offset is at dxField.
void EmrText(Canvas& canvas, RecordReader& r, size_t at, size_t dxField, bool wide, bool advanced) {
  TextRun run;
  run.advanced = advanced;
  run.x = r.S32(at);
  run.y = r.S32(at + 4);
  size_t count = r.U32(at + 8), textAt = r.U32(at + 12);
  run.options = r.U32(at + 16);
  for (int i = 0; i < 4; ++i) run.box[i] = r.S32(at + kBoxAt + i * 4);
  // A record without a box neither fills nor clips.
  run.hasBox = (run.options & 6) != 0 && (run.options & kNoRect) == 0;
  run.glyphIndices = (run.options & kGlyphIndex) != 0;
  size_t dxAt = r.U32(dxField);
  const uint8_t* text = r.Bytes(textAt, count * (wide ? 2 : 1));
  if (r.Short() || text == nullptr) return;
  // The spacing array holds one advance a character, or an x and a y advance with kPairs.
  size_t each = (run.options & kPairs) ? 8 : 4;
  if (dxAt != 0 && count <= r.Size() / each && r.Has(dxAt, count * each))
    for (size_t i = 0; i < count; ++i) run.dx.push_back(r.S32(dxAt + i * each));
  if (run.glyphIndices)
    for (size_t i = 0; i < count; ++i)
      run.text += static_cast<char32_t>(wide ? text[i * 2] | text[i * 2 + 1] << 8 : text[i]);
  else if (wide)
    run.text = Utf16Text(text, count, &run.dx);
  else
    run.text = CharsetText(text, count, canvas.State().font.charset, &run.dx);
  DrawText(canvas, run);
}

}  // namespace

// ExtTextOut: the graphics mode, then one EmrText. A record that says it has no box may leave
// the box's 16 bytes out: its string then starts where the box would lie, and its spacing offset
// comes right after the options.
void ExtTextOut(Canvas& canvas, RecordReader& r, bool wide) {
  constexpr size_t kAt = 36;
  bool compact = (r.U32(kAt + 16) & kNoRect) != 0 && r.U32(kAt + 12) < kAt + kEmrTextSize;
  EmrText(canvas, r, kAt, compact ? kAt + kBoxAt : kAt + kDxAt, wide, r.U32(24) == kAdvancedMode);
}

// SmallTextOut: the reference point, count, options and graphics mode, the box unless the
// options say there is none, then the characters: 16-bit, or 8-bit (the low bytes of characters
// below 256) with ETO_SMALL_CHARS. No spacing array.
void SmallTextOut(Canvas& canvas, RecordReader& r) {
  constexpr uint32_t kSmallChars = 0x200;
  TextRun run;
  run.x = r.S32(8);
  run.y = r.S32(12);
  size_t count = r.U32(16);
  run.options = r.U32(20);
  run.advanced = r.U32(24) == kAdvancedMode;
  bool boxed = (run.options & kNoRect) == 0;
  for (int i = 0; i < 4 && boxed; ++i) run.box[i] = r.S32(36 + i * 4);
  run.hasBox = boxed && (run.options & 6) != 0;
  bool small = (run.options & kSmallChars) != 0;
  const uint8_t* text = r.Bytes(boxed ? 52 : 36, count * (small ? 1 : 2));
  if (r.Short() || text == nullptr) return;
  run.glyphIndices = (run.options & kGlyphIndex) != 0;
  if (small || run.glyphIndices)
    for (size_t i = 0; i < count; ++i)
      run.text += static_cast<char32_t>(small ? text[i] : text[i * 2] | text[i * 2 + 1] << 8);
  else
    run.text = Utf16Text(text, count, &run.dx);
  DrawText(canvas, run);
}

// PolyTextOut: the graphics mode, a count, then that many EmrTexts, each drawn as ExtTextOut.
void PolyTextOut(Canvas& canvas, RecordReader& r, bool wide) {
  size_t strings = r.U32(36);
  bool advanced = r.U32(24) == kAdvancedMode;
  if (r.Short() || strings > r.Size() / kEmrTextSize || !r.Has(40, strings * kEmrTextSize)) return;
  for (size_t i = 0; i < strings; ++i) {
    size_t at = 40 + i * kEmrTextSize;
    EmrText(canvas, r, at, at + kDxAt, wide, advanced);
  }
}

}  // namespace platform::metafile
