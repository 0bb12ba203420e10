// Laying out and drawing text with cairo, in the faces fontconfig matches.
#include "platform/imaging/metafile/text.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/imaging/metafile/text_glyphs.h"

namespace platform::metafile {

namespace {

constexpr uint32_t kUpdatePosition = 1, kRight = 2, kCenter = 6, kBottom = 8, kBaseline = 24;
constexpr uint32_t kOpaqueBox = 2, kClipped = 4;
// A font of height 0 takes the default size, in picture pixels.
constexpr double kDefaultEm = 16;
// Glyphs larger than this are not drawn: no picture holds them, and they cost to rasterise.
constexpr double kLargestEm = 4096;
// Glyphs larger than this are filled as outlines: cairo would render each into an image of its
// own size first, megabytes for a large one whatever the size of the picture, and keep thousands
// of such images in its glyph cache after the picture is done.
constexpr double kLargestGlyphImage = 64;
// An em square covering less of the picture than this (in square pixels) is a line or a point:
// nothing shows, and its glyphs could not be scaled back.
constexpr double kLeastEmArea = 1e-6;

// Where a run is laid out: text units from its reference point, x along the baseline and y down
// the glyphs, and how they map to the picture.
struct TextSpace {
  cairo_matrix_t toPicture;
  double em = 0;            // the font's height in text units (its em, or its cell when positive)
  double advanceScale = 1;  // text units a logical unit of the spacing array
  double pixels = 1;        // picture pixels a text unit, along the direction stretched most
};

// The larger singular value of the matrix's linear part: how far it stretches at most.
double LargestScale(const cairo_matrix_t& m) {
  double sum = m.xx * m.xx + m.xy * m.xy + m.yx * m.yx + m.yy * m.yy;
  double det = m.xx * m.yy - m.xy * m.yx;
  return std::sqrt(sum / 2 + std::sqrt(std::max(0.0, sum * sum / 4 - det * det)));
}

// The text space of a run at the reference point ref. In the compatible mode it is the
// picture's pixels, turned only by the escapement, the font's height scaled by the mapping's
// vertical unit and the spacing array by its horizontal one. In the advanced mode it is the
// logical units themselves, through the world transform: the glyphs turn, slant and scale with
// it, while the window and viewport's directions keep them upright, as in the compatible mode.
TextSpace Place(Canvas& canvas, const TextRun& run, PointD ref) {
  DcState& state = canvas.State();
  const Font& font = state.font;
  cairo_matrix_t m = canvas.ToPicture();
  TextSpace space;
  if (run.advanced) {
    Mapping page = state.mapping;
    cairo_matrix_init_identity(&page.world);
    cairo_matrix_t p = LogicalToPicture(page, canvas.Head()), upright;
    cairo_matrix_init_scale(&upright, p.xx < 0 ? -1 : 1, p.yy < 0 ? -1 : 1);
    cairo_matrix_multiply(&space.toPicture, &upright, &m);
    space.pixels = LargestScale(space.toPicture);
    space.em = font.height == 0 ? kDefaultEm / space.pixels : std::fabs(font.height);
  } else {
    cairo_matrix_init_identity(&space.toPicture);
    space.em = font.height == 0 ? kDefaultEm : std::fabs(font.height) * std::hypot(m.xy, m.yy);
    space.advanceScale = std::hypot(m.xx, m.yx);
  }
  PointD origin = Map(m, ref.x, ref.y);
  space.toPicture.x0 = origin.x;
  space.toPicture.y0 = origin.y;
  cairo_matrix_rotate(&space.toPicture, -font.escapement / 10 * std::numbers::pi / 180);
  return space;
}

// Whether glyphs of the em can be drawn in the space: finite, invertible, and of a size a
// picture shows.
bool Drawable(const TextSpace& space, double em) {
  const cairo_matrix_t& m = space.toPicture;
  double area = std::fabs(m.xx * m.yy - m.xy * m.yx) * em * em;
  double emPixels = em * space.pixels;
  return std::isfinite(area) && area >= kLeastEmArea && std::isfinite(space.advanceScale) &&
         emPixels >= 1 && emPixels <= kLargestEm;
}

void SetColor(cairo_t* cr, Color color) {
  cairo_set_source_rgb(cr, color.r / 255.0, color.g / 255.0, color.b / 255.0);
}

// The record's box: filled with the background colour and made the clip, as its options ask.
void UseBox(Canvas& canvas, const TextRun& run) {
  cairo_t* cr = canvas.Cairo();
  Path box;
  AddBox(&box, canvas.ToPicture(), run.box[0], run.box[1], run.box[2], run.box[3]);
  if (run.options & kOpaqueBox) {
    SetColor(cr, canvas.State().backColor);
    box.Emit(cr, 0);
    cairo_fill(cr);
  }
  if (run.options & kClipped) {
    box.Emit(cr, 0);
    cairo_clip(cr);
  }
  cairo_new_path(cr);
}

// The scaled font of the face at the em, drawn through toPicture; null when cairo cannot make it.
cairo_scaled_font_t* ScaledFont(cairo_font_face_t* face, const cairo_matrix_t& toPicture, double em,
                                const cairo_font_options_t* options) {
  cairo_matrix_t size;
  cairo_matrix_init_scale(&size, em, em);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &size, &toPicture, options);
  if (cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS) return scaled;
  cairo_scaled_font_destroy(scaled);
  return nullptr;
}

// One glyph's outline in picture pixels.
Path GlyphOutline(cairo_t* cr, const cairo_glyph_t& glyph) {
  cairo_new_path(cr);
  cairo_glyph_path(cr, &glyph, 1);
  // cairo keeps the path in device space; read back under no transform, it is in pixels.
  cairo_matrix_t user;
  cairo_get_matrix(cr, &user);
  cairo_identity_matrix(cr);
  cairo_path_t* copy = cairo_copy_path(cr);
  cairo_set_matrix(cr, &user);
  cairo_new_path(cr);
  Path outline;
  for (int i = 0; i < copy->num_data; i += copy->data[i].header.length) {
    const cairo_path_data_t* d = &copy->data[i];
    auto point = [d](int k) { return PointD{d[k].point.x, d[k].point.y}; };
    switch (d->header.type) {
      case CAIRO_PATH_MOVE_TO: outline.MoveTo(point(1)); break;
      case CAIRO_PATH_LINE_TO: outline.LineTo(point(1)); break;
      case CAIRO_PATH_CURVE_TO: outline.CurveTo(point(1), point(2), point(3)); break;
      case CAIRO_PATH_CLOSE_PATH: outline.Close(); break;
    }
  }
  cairo_path_destroy(copy);
  return outline;
}

// Adds the glyphs' outlines to the path being gathered; false when it outgrows the budget.
bool OutlineGlyphs(Canvas& canvas, const std::vector<cairo_glyph_t>& glyphs) {
  for (const cairo_glyph_t& glyph : glyphs)
    if (!canvas.AddToPath(GlyphOutline(canvas.Cairo(), glyph))) return false;
  return true;
}

// Places the glyphs along the baseline (at the spacing array's advances when it has one a glyph,
// else at the face's own) and by the text alignment; returns the run's width, and where its
// cell's top-left corner lies in text units.
double Lay(const TextRun& run, const TextSpace& space, uint32_t align,
           const cairo_font_extents_t& extents, cairo_scaled_font_t* scaled,
           std::vector<cairo_glyph_t>* glyphs, PointD* cell) {
  cairo_text_extents_t own;
  cairo_scaled_font_glyph_extents(scaled, glyphs->data(), static_cast<int>(glyphs->size()), &own);
  double width = own.x_advance;
  if (!run.dx.empty() && glyphs->size() == run.text.size()) {
    double x = 0;
    for (size_t i = 0; i < glyphs->size(); ++i) {
      (*glyphs)[i].x = x;
      x += (i < run.dx.size() ? run.dx[i] : 0) * space.advanceScale;
    }
    width = x;
  }
  if (!std::isfinite(width)) width = 0;
  double shiftX = 0, shiftY = 0;
  uint32_t horizontal = align & kCenter, vertical = align & kBaseline;
  if (horizontal == kCenter)
    shiftX = -width / 2;
  else if (horizontal == kRight)
    shiftX = -width;
  if (vertical == 0)
    shiftY = extents.ascent;
  else if (vertical == kBottom)
    shiftY = -extents.descent;
  for (cairo_glyph_t& glyph : *glyphs) glyph.x += shiftX, glyph.y += shiftY;
  *cell = PointD{shiftX, shiftY - extents.ascent};
  return width;
}

// Draws the laid-out glyphs with the opaque background, underline and strike-out, or gathers
// their outlines into the path.
void Paint(Canvas& canvas, const TextSpace& space, double em, const cairo_font_extents_t& extents,
           const std::vector<cairo_glyph_t>& glyphs, double width, PointD cell) {
  cairo_t* cr = canvas.Cairo();
  DcState& state = canvas.State();
  if (canvas.Gathering()) {
    if (!OutlineGlyphs(canvas, glyphs)) canvas.Fail();
    return;
  }
  if (state.opaqueBack) {
    SetColor(cr, state.backColor);
    cairo_rectangle(cr, cell.x, cell.y, width, extents.ascent + extents.descent);
    cairo_fill(cr);
  }
  SetColor(cr, state.textColor);
  if (!ShowGlyphs(cr, glyphs, em * space.pixels)) canvas.Fail();
  double thickness = std::max(1 / space.pixels, em / 14);
  double baseline = cell.y + extents.ascent;
  if (state.font.underline) cairo_rectangle(cr, cell.x, baseline + em / 10, width, thickness);
  if (state.font.strikeOut) cairo_rectangle(cr, cell.x, baseline - em * 0.3, width, thickness);
  cairo_fill(cr);
}

// The glyphs of the run in its space, drawn; returns the run's width in text units (0 when
// nothing could be drawn).
double Glyphs(Canvas& canvas, const TextRun& run, const TextSpace& space) {
  DcState& state = canvas.State();
  const Font& font = state.font;
  FontFaces& faces = canvas.Fonts();
  // A glyph-index run is drawn only in the face it was written with.
  cairo_font_face_t* face = run.glyphIndices ? faces.Named(font) : faces.ForText(font, run.text);
  if (face == nullptr || cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) return 0;
  // The cell of an em of one unit, which no transform changes, as the metrics are not hinted.
  cairo_matrix_t untransformed;
  cairo_matrix_init_identity(&untransformed);
  cairo_scaled_font_t* unit = ScaledFont(face, untransformed, 1, faces.Options());
  if (unit == nullptr) return 0;
  cairo_font_extents_t cellAtOne;
  cairo_scaled_font_extents(unit, &cellAtOne);
  cairo_scaled_font_destroy(unit);
  double em = space.em;
  // A positive height is the cell's (ascent and descent), not the em's.
  if (font.height > 0 && cellAtOne.ascent + cellAtOne.descent > 0)
    em /= cellAtOne.ascent + cellAtOne.descent;
  cairo_scaled_font_t* scaled = nullptr;
  if (!Drawable(space, em) ||
      (scaled = ScaledFont(face, space.toPicture, em, faces.Options())) == nullptr)
    return 0;
  GlyphSource source = run.glyphIndices                 ? GlyphSource::Indices
                       : font.charset == kCharsetSymbol ? GlyphSource::Symbols
                                                        : GlyphSource::Characters;
  std::vector<cairo_glyph_t> glyphs;
  double width = 0;
  if (RunGlyphs(scaled, run.text, source, &glyphs) && !glyphs.empty()) {
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(scaled, &extents);
    cairo_set_matrix(canvas.Cairo(), &space.toPicture);
    cairo_set_scaled_font(canvas.Cairo(), scaled);
    PointD cell;
    width = Lay(run, space, state.textAlign, extents, scaled, &glyphs, &cell);
    Paint(canvas, space, em, extents, glyphs, width, cell);
  }
  cairo_scaled_font_destroy(scaled);
  return width;
}

}  // namespace

// Draws the glyphs with the current source; false when a large glyph's outline would take more
// memory than the decode budget allows.
bool ShowGlyphs(cairo_t* cr, const std::vector<cairo_glyph_t>& glyphs, double emPixels) {
  if (emPixels <= kLargestGlyphImage) {
    cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
    return true;
  }
  bool fits = true;
  for (size_t i = 0; i < glyphs.size() && fits; ++i) {
    Path outline = GlyphOutline(cr, glyphs[i]);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);  // as glyph images are drawn
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    fits = outline.Emit(cr, 0);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  return fits;
}

void DrawText(Canvas& canvas, const TextRun& run) {
  DcState& state = canvas.State();
  cairo_t* cr = canvas.Cairo();
  bool fromCurrent = (state.textAlign & kUpdatePosition) != 0;
  PointD ref = fromCurrent ? PointD{state.x, state.y} : PointD{run.x, run.y};
  cairo_save(cr);
  // Inside a path bracket only the glyphs' outlines count.
  if (run.hasBox && !canvas.Gathering()) UseBox(canvas, run);
  TextSpace space = Place(canvas, run, ref);
  double width = Glyphs(canvas, run, space);
  cairo_restore(cr);
  if (fromCurrent && space.advanceScale > 0) state.x += width / space.advanceScale;
}

}  // namespace platform::metafile
