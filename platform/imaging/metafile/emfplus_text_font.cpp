// Fonts for EMF+ text: faces, glyphs and measures.
#include "platform/imaging/metafile/emfplus_text_font.h"

#include <cairo-ft.h>
#include <fontconfig/fcfreetype.h>

#include <cmath>

#include "platform/imaging/metafile/emfplus_units.h"

namespace platform::metafile {

namespace {

// Glyphs are measured at this em (pixels) and scaled: large enough that FreeType's fixed-point
// advances lose nothing that shows.
constexpr double kMeasureEm = 64;

// The font's em in world units: a font in world units as it is; one in another unit measured on
// the page, so that only the world transform scales it.
double EmInWorld(const PlusGraphics& graphics, const PlusFont& font) {
  if (font.unit == kUnitWorld) return font.emSize;
  const PlusState& state = graphics.State();
  return font.emSize * graphics.DeviceUnitsY(font.unit) /
         (graphics.DeviceUnitsY(state.pageUnit) * state.pageScale);
}

cairo_scaled_font_t* MeasuringFont(cairo_font_face_t* face) {
  cairo_matrix_t size, identity;
  cairo_matrix_init_scale(&size, kMeasureEm, kMeasureEm);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &size, &identity, options);
  cairo_font_options_destroy(options);
  if (cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS) return scaled;
  cairo_scaled_font_destroy(scaled);
  return nullptr;
}

// The GDI font of the same family, weight and slant, as the picture's font faces match them.
Font GdiFont(const PlusFont& font) {
  Font gdi;
  gdi.face = font.family;
  gdi.weight = font.bold ? 700 : 400;
  gdi.italic = font.italic;
  return gdi;
}

}  // namespace

TextFont::TextFont(PlusGraphics& graphics, FontFaces& faces, const PlusFont& font,
                   const std::u32string& text, bool glyphNumbers)
    : face_(glyphNumbers ? faces.Named(GdiFont(font)) : faces.ForText(GdiFont(font), text)),
      em_(EmInWorld(graphics, font)) {
  if (face_ != nullptr && std::isfinite(em_) && em_ > 0) measured_ = MeasuringFont(face_);
}

TextFont::~TextFont() {
  if (measured_ != nullptr) cairo_scaled_font_destroy(measured_);
}

StringMetrics TextFont::Metrics() const {
  cairo_font_extents_t extents;
  cairo_scaled_font_extents(measured_, &extents);
  double scale = em_ / kMeasureEm;
  return {em_, extents.ascent * scale, extents.descent * scale, extents.height * scale};
}

bool TextFont::Glyphs(const std::u32string& text, std::vector<unsigned long>* glyphs) const {
  // The face is looked into while locked, and let go before anything measures with it.
  FT_Face face = cairo_ft_scaled_font_lock_face(measured_);
  if (face == nullptr) return false;
  glyphs->clear();
  glyphs->reserve(text.size());
  for (char32_t c : text) glyphs->push_back(FcFreeTypeCharIndex(face, c));
  cairo_ft_scaled_font_unlock_face(measured_);
  return true;
}

double TextFont::Advance(unsigned long glyph) const {
  cairo_glyph_t one{glyph, 0, 0};
  cairo_text_extents_t extents;
  cairo_scaled_font_glyph_extents(measured_, &one, 1, &extents);
  return extents.x_advance * em_ / kMeasureEm;
}

}  // namespace platform::metafile
