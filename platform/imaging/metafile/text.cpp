// Laying out and drawing text with cairo's font selection (fontconfig underneath).
#include "platform/imaging/metafile/text.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <numbers>

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

}  // namespace

// The faces metafiles name most, by their metric-compatible stand-ins.
const char* FaceFor(const std::string& face) {
  static const char* const kFaces[][2] = {
      {"Arial", "Liberation Sans"},
      {"Helvetica", "Liberation Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Times", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {"Courier", "Liberation Mono"},
  };
  for (const auto& pair : kFaces)
    if (strcasecmp(face.c_str(), pair[0]) == 0) return pair[1];
  return face.empty() ? "Liberation Sans" : face.c_str();
}

namespace {

void AppendUtf8(std::string* out, char32_t c) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Utf8(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    // Control characters and lone surrogates have no glyph: a space stands in.
    bool bad = c < 0x20 || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF;
    AppendUtf8(&out, bad ? U' ' : c);
  }
  return out;
}

void SelectFont(cairo_t* cr, const Font& font, double em) {
  cairo_select_font_face(cr, FaceFor(font.face),
                         font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         font.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, em);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

void SetColor(cairo_t* cr, Color color) {
  cairo_set_source_rgb(cr, color.r / 255.0, color.g / 255.0, color.b / 255.0);
}

// One glyph's outline as cairo gives it, in user space.
Path GlyphOutline(cairo_t* cr, const cairo_glyph_t& glyph) {
  cairo_new_path(cr);
  cairo_glyph_path(cr, &glyph, 1);
  cairo_path_t* copy = cairo_copy_path(cr);
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

// Draws the glyphs with the current source; false when a large glyph's outline would take more
// memory than the decode budget allows.
bool ShowGlyphs(cairo_t* cr, const cairo_glyph_t* glyphs, int count, double em) {
  if (em <= kLargestGlyphImage) {
    cairo_show_glyphs(cr, glyphs, count);
    return true;
  }
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);  // as glyph images are drawn
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  bool fits = true;
  for (int i = 0; i < count && fits; ++i) {
    fits = GlyphOutline(cr, glyphs[i]).Emit(cr, 0);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  return fits;
}

}  // namespace

std::u32string Latin1Text(const uint8_t* bytes, size_t count) {
  std::u32string text;
  for (size_t i = 0; i < count; ++i) text += static_cast<char32_t>(bytes[i]);
  return text;
}

std::u32string Utf16Text(const uint8_t* units, size_t count, std::vector<double>* dx) {
  std::u32string text;
  std::vector<double> spacing;
  for (size_t i = 0; i < count; ++i) {
    char32_t c = static_cast<char32_t>(units[i * 2] | units[i * 2 + 1] << 8);
    double advance = i < dx->size() ? (*dx)[i] : 0;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < count) {
      char32_t low = static_cast<char32_t>(units[i * 2 + 2] | units[i * 2 + 3] << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        if (i + 1 < dx->size()) advance += (*dx)[i + 1];
        ++i;
      }
    }
    text += c;
    spacing.push_back(advance);
  }
  if (!dx->empty()) *dx = spacing;
  return text;
}

void DrawText(Canvas& canvas, const TextRun& run) {
  DcState& state = canvas.State();
  cairo_t* cr = canvas.Cairo();
  cairo_matrix_t m = canvas.ToPicture();
  bool fromCurrent = (state.textAlign & kUpdatePosition) != 0;
  double refX = fromCurrent ? state.x : run.x, refY = fromCurrent ? state.y : run.y;
  // Lengths of a logical unit along each axis, in picture pixels.
  double unitX = std::hypot(m.xx, m.yx), unitY = std::hypot(m.xy, m.yy);
  const Font& font = state.font;
  double em = font.height == 0 ? kDefaultEm : std::fabs(font.height) * unitY;
  if (!std::isfinite(em) || !std::isfinite(unitX)) return;

  cairo_save(cr);
  if (run.hasBox) {
    Path box;
    AddBox(&box, m, run.box[0], run.box[1], run.box[2], run.box[3]);
    if (run.options & kOpaqueBox) {
      SetColor(cr, state.backColor);
      box.Emit(cr, 0);
      cairo_fill_preserve(cr);
    }
    if (run.options & kClipped) {
      box.Emit(cr, 0);
      cairo_clip(cr);
    }
    cairo_new_path(cr);
  }
  SelectFont(cr, font, 1);
  cairo_font_extents_t unit;
  cairo_font_extents(cr, &unit);
  // A positive height is the cell's (ascent and descent), not the em's.
  if (font.height > 0 && unit.ascent + unit.descent > 0) em /= unit.ascent + unit.descent;
  std::string utf8 = Utf8(run.text);
  if (em >= 1 && em <= kLargestEm && !utf8.empty()) {
    cairo_set_font_size(cr, em);
    PointD origin = Map(m, refX, refY);
    cairo_translate(cr, origin.x, origin.y);
    cairo_rotate(cr, -font.escapement / 10 * std::numbers::pi / 180);
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    cairo_scaled_font_t* scaled = cairo_get_scaled_font(cr);
    if (cairo_scaled_font_text_to_glyphs(scaled, 0, 0, utf8.data(), static_cast<int>(utf8.size()),
                                         &glyphs, &count, nullptr, nullptr,
                                         nullptr) == CAIRO_STATUS_SUCCESS) {
      cairo_text_extents_t extents;
      cairo_glyph_extents(cr, glyphs, count, &extents);
      double width = extents.x_advance;
      // The spacing array places each glyph when there is one per character.
      if (!run.dx.empty() && static_cast<size_t>(count) == run.text.size()) {
        double x = 0;
        for (int i = 0; i < count; ++i) {
          glyphs[i].x = x;
          x += (i < static_cast<int>(run.dx.size()) ? run.dx[i] : 0) * unitX;
        }
        width = x;
      }
      if (!std::isfinite(width)) width = 0;
      cairo_font_extents_t extentsAtSize;
      cairo_font_extents(cr, &extentsAtSize);
      double shiftX = 0, shiftY = 0;
      uint32_t horizontal = state.textAlign & kCenter, vertical = state.textAlign & kBaseline;
      if (horizontal == kCenter)
        shiftX = -width / 2;
      else if (horizontal == kRight)
        shiftX = -width;
      if (vertical == 0)
        shiftY = extentsAtSize.ascent;
      else if (vertical == kBottom)
        shiftY = -extentsAtSize.descent;
      for (int i = 0; i < count; ++i) glyphs[i].x += shiftX, glyphs[i].y += shiftY;
      if (state.opaqueBack) {
        SetColor(cr, state.backColor);
        cairo_rectangle(cr, shiftX, shiftY - extentsAtSize.ascent, width,
                        extentsAtSize.ascent + extentsAtSize.descent);
        cairo_fill(cr);
      }
      SetColor(cr, state.textColor);
      if (!ShowGlyphs(cr, glyphs, count, em)) canvas.Fail();
      double thickness = std::max(1.0, em / 14);
      if (font.underline) cairo_rectangle(cr, shiftX, shiftY + em / 10, width, thickness);
      if (font.strikeOut) cairo_rectangle(cr, shiftX, shiftY - em * 0.3, width, thickness);
      cairo_fill(cr);
      cairo_glyph_free(glyphs);
      if (fromCurrent && unitX > 0) state.x += width / unitX;
    }
  }
  cairo_restore(cr);
}

bool ShowGlyphs(cairo_t* cr, const std::vector<cairo_glyph_t>& glyphs, double emPixels) {
  return ShowGlyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()), emPixels);
}

}  // namespace platform::metafile
