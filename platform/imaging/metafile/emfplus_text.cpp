// Playing the EMF+ text records.
#include "platform/imaging/metafile/emfplus_text.h"

#include <algorithm>
#include <cmath>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/emfplus_shapes.h"
#include "platform/imaging/metafile/emfplus_string_layout.h"
#include "platform/imaging/metafile/emfplus_text_font.h"
#include "platform/imaging/metafile/text.h"

namespace platform::metafile {

namespace {

// DrawString's fields: the brush, the string format's slot, the length, the layout rectangle,
// then the characters.
constexpr size_t kFormatSlot = 4, kLength = 8, kLayoutRect = 12, kCharacters = 28;
// DrawDriverString's: the brush, its options, whether a matrix follows, the glyph count, then
// the glyphs, their positions and the matrix.
constexpr size_t kOptions = 4, kMatrixPresent = 8, kGlyphCount = 12, kGlyphValues = 16;
constexpr uint32_t kCmapLookup = 0x1, kRealizedAdvance = 0x4;
// Text rendering hints that ask for glyphs of one bit a pixel.
constexpr uint32_t kSingleBitGridFit = 1, kSingleBit = 2;
// Glyphs smaller than a pixel to the em show nothing; larger than this, as in the EMF text, no
// picture holds them and they cost to fill.
constexpr double kSmallestEm = 1, kLargestEm = 4096;
// Underline and strike-out bars, in ems: where their tops lie below the baseline, and their
// thickness, as the EMF text draws them.
constexpr double kUnderlineTop = 0.1, kStrikeOutTop = -0.3, kBarThickness = 1.0 / 14;

// Glyphs placed in world units: each glyph of the face with its baseline origin.
struct GlyphRun {
  std::vector<unsigned long> glyphs;
  std::vector<PointD> origins;
};

// What a text record draws: its brush, its font and the transform of its world units to the
// picture's pixels.
struct TextPaint {
  const PlusBrush* brush = nullptr;
  const PlusFont* font = nullptr;
  cairo_matrix_t toPicture;
};

// The transform's linear part, which turns, slants and scales the glyphs.
cairo_matrix_t Linear(const cairo_matrix_t& m) {
  cairo_matrix_t linear = m;
  linear.x0 = linear.y0 = 0;
  return linear;
}

// The font cairo draws the glyphs with: the em in pixels, turned as the world is; false when
// cairo cannot make it. It is made apart first, as a font cairo fails to make on the picture's
// own context would leave that unable to draw again.
bool SetFont(cairo_t* cr, const TextFont& font, const cairo_matrix_t& toPicture, uint32_t hint) {
  cairo_matrix_t size, matrix, identity;
  cairo_matrix_init_scale(&size, font.Em(), font.Em());
  cairo_matrix_t linear = Linear(toPicture);
  cairo_matrix_multiply(&matrix, &size, &linear);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  bool oneBit = hint == kSingleBitGridFit || hint == kSingleBit;
  cairo_font_options_set_antialias(options, oneBit ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(font.Face(), &matrix, &identity, options);
  cairo_font_options_destroy(options);
  bool made = cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS;
  if (made) cairo_set_scaled_font(cr, scaled);
  cairo_scaled_font_destroy(scaled);
  return made && cairo_status(cr) == CAIRO_STATUS_SUCCESS;
}

// The glyphs in picture pixels whose origin lies within two ems of where drawing can show: the
// others draw nothing there, and would cost to draw.
std::vector<cairo_glyph_t> Visible(cairo_t* cr, const GlyphRun& run,
                                   const cairo_matrix_t& toPicture, double emPixels) {
  Box view = View(cr).Grown(2 * emPixels);
  std::vector<cairo_glyph_t> glyphs;
  for (size_t i = 0; i < run.glyphs.size(); ++i) {
    PointD p = Map(toPicture, run.origins[i].x, run.origins[i].y);
    if (view.Meets(&p, 1)) glyphs.push_back({run.glyphs[i], p.x, p.y});
  }
  return glyphs;
}

// Underline and strike-out bars along each line that shows.
void Decorate(cairo_t* cr, const TextPaint& text, double em, const std::vector<PlacedLine>& lines) {
  Box view = View(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  auto bar = [&](const PlacedLine& line, double top) {
    Path outline;
    AddPlusRect(&outline, text.toPicture,
                {line.origin.x, line.origin.y + top * em, line.width, kBarThickness * em});
    outline.Emit(cr, 0);
    cairo_fill(cr);
  };
  for (const PlacedLine& line : lines) {
    PointD ends[2] = {Map(text.toPicture, line.origin.x, line.origin.y),
                      Map(text.toPicture, line.origin.x + line.width, line.origin.y)};
    if (line.width <= 0 || !view.Meets(ends, 2)) continue;
    if (text.font->underline) bar(line, kUnderlineTop);
    if (text.font->strikeOut) bar(line, kStrikeOutTop);
  }
}

// Draws the run with the record's brush, inside clip when there is one.
void DrawRun(PlusGraphics& graphics, const TextPaint& text, const TextFont& font,
             const GlyphRun& run, const std::vector<PlacedLine>& lines, const Path* clip) {
  const cairo_matrix_t& m = text.toPicture;
  double emPixels = font.Em() * std::max(std::hypot(m.xx, m.yx), std::hypot(m.xy, m.yy));
  if (!std::isfinite(emPixels) || emPixels < kSmallestEm || emPixels > kLargestEm ||
      !imaging::FitsBudget(run.glyphs.size() * sizeof(cairo_glyph_t)))
    return;
  PlusPaint paint(graphics);
  cairo_t* cr = paint.Cairo();
  cairo_identity_matrix(cr);
  if (clip != nullptr) {
    if (!clip->Emit(cr, 0)) return graphics.Surface().Fail();
    cairo_clip(cr);
  }
  if (!paint.Source(*text.brush) || !SetFont(cr, font, m, graphics.State().textRenderingHint))
    return;
  if (!ShowGlyphs(cr, Visible(cr, run, m, emPixels), emPixels)) return graphics.Surface().Fail();
  if (text.font->underline || text.font->strikeOut) Decorate(cr, text, font.Em(), lines);
}

// The font a text record names and the brush it fills with; false when either is missing.
bool ReadPaint(PlusPlayback& play, const PlusRecord& record, PlusBrush* color, TextPaint* out) {
  const PlusObject* font = play.objects.Get(record.Slot(), PlusKind::Font);
  out->brush = RecordBrush(play, record, 0, color);
  out->font = font == nullptr ? nullptr : font->font.get();
  out->toPicture = play.graphics.WorldToPicture();
  return out->brush != nullptr && out->font != nullptr;
}

// Each character's advance: a tab's is a space's (tab stops are the layout's), and other control
// characters take none.
std::vector<double> Advances(const TextFont& font, const std::u32string& text,
                             const std::vector<unsigned long>& glyphs) {
  std::vector<unsigned long> space;
  font.Glyphs(U" ", &space);
  std::vector<double> advances(text.size(), 0);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == U'\t' && !space.empty())
      advances[i] = font.Advance(space[0]);
    else if (text[i] >= 0x20)
      advances[i] = font.Advance(glyphs[i]);
  }
  return advances;
}

}  // namespace

void PlayDrawString(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  PlusBrush color;
  TextPaint text;
  uint32_t formatSlot = r.U32(kFormatSlot);
  size_t length = r.U32(kLength);
  std::vector<RectD> box;
  if (!ReadPaint(play, record, &color, &text) || r.Short() || length > r.Size() / 2 ||
      !r.Has(kCharacters, length * 2) || !ReadRects(r, kLayoutRect, 1, false, &box) ||
      !imaging::FitsBudget(length * sizeof(PlacedCharacter)))
    return;
  const PlusObject* named = play.objects.Get(formatSlot, PlusKind::StringFormat);
  PlusStringFormat format = named != nullptr ? *named->stringFormat : PlusStringFormat{};
  std::vector<double> noSpacing;
  std::u32string characters = Utf16Text(r.Bytes(kCharacters, length * 2), length, &noSpacing);
  TextFont font(play.graphics, play.graphics.Surface().Fonts(), *text.font, characters, false);
  std::vector<unsigned long> glyphs;
  if (!font.Ready() || !font.Glyphs(characters, &glyphs)) return;
  StringLayout layout =
      LayOutString(characters, Advances(font, characters, glyphs), font.Metrics(), box[0], format);
  GlyphRun run;
  for (const PlacedCharacter& placed : layout.characters) {
    run.glyphs.push_back(glyphs[placed.index]);
    run.origins.push_back(placed.origin);
  }
  // A layout rectangle without width or height clips nothing, as it wraps nothing.
  Path clip;
  bool clipped = !(format.flags & kFormatNoClip) && box[0].w > 0 && box[0].h > 0;
  if (clipped) AddPlusRect(&clip, text.toPicture, box[0]);
  DrawRun(play.graphics, text, font, run, layout.lines, clipped ? &clip : nullptr);
}

void PlayDrawDriverString(PlusPlayback& play, const PlusRecord& record) {
  RecordReader r = record.Reader();
  PlusBrush color;
  TextPaint text;
  uint32_t options = r.U32(kOptions), matrixPresent = r.U32(kMatrixPresent);
  size_t count = r.U32(kGlyphCount);
  // Each glyph takes a 16-bit value and a position of two floats.
  if (!ReadPaint(play, record, &color, &text) || r.Short() || count > r.Size() / 10 ||
      !r.Has(kGlyphValues, count * 10))
    return;
  size_t positionsAt = kGlyphValues + count * 2;
  double m[6];
  if (matrixPresent != 0) {
    // The record's own transform acts on the glyphs and their positions before the world's.
    cairo_matrix_t by;
    if (!ReadMatrix(r, positionsAt + count * 8, m)) return;
    cairo_matrix_init(&by, m[0], m[1], m[2], m[3], m[4], m[5]);
    cairo_matrix_multiply(&text.toPicture, &by, &text.toPicture);
  }
  std::u32string values;
  for (size_t i = 0; i < count; ++i) values += static_cast<char32_t>(r.U16(kGlyphValues + i * 2));
  std::vector<unsigned long> glyphs(values.begin(), values.end());
  // Glyph numbers are drawn only in the face the font names: in another they are other glyphs.
  bool characters = (options & kCmapLookup) != 0;
  TextFont font(play.graphics, play.graphics.Surface().Fonts(), *text.font, values, !characters);
  if (!font.Ready() || (characters && !font.Glyphs(values, &glyphs))) return;
  GlyphRun run;
  PointD origin;
  for (size_t i = 0; i < count; ++i) {
    PointD given;
    if (!ReadFloat(r, positionsAt + i * 8, &given.x) ||
        !ReadFloat(r, positionsAt + i * 8 + 4, &given.y))
      return;
    // With realized advances only the first position counts; each glyph follows the one before.
    if (i == 0 || !(options & kRealizedAdvance))
      origin = given;
    else
      origin.x += font.Advance(glyphs[i - 1]);
    if ((options & kCmapLookup) && values[i] < 0x20) continue;
    run.glyphs.push_back(glyphs[i]);
    run.origins.push_back(origin);
  }
  DrawRun(play.graphics, text, font, run, {}, nullptr);
}

}  // namespace platform::metafile
