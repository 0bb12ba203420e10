// Metafile text against cairo's own rendering of what the text says: each line of a file
// (tests/data/metafiles/make_text_metafiles.py) is drawn again here from its UTF-8 characters in
// the face fontconfig has for the font, at the record's advances and under its transform, and
// the two pictures' ink must agree; a misreading (the code page taken for Latin-1, glyphs left
// upright) must not. Probes check the boxes, paths and what is passed over.
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/imaging/metafile/metafile_files.h"

namespace {

using kvtest::Decode;
using kvtest::MetafileBytes;
using kvtest::Near;
using kvtest::Picture;
using kvtest::Rgba;

constexpr Rgba kNone{0, 0, 0, 0}, kYellow{255, 255, 0, 255};
constexpr Rgba kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255};

// A line of text as cairo draws it: glyphs of the face at em pixels, from (x, y) on the baseline
// at advance pixels apart (the face's own advances when 0) or at the given advances, under
// matrix.
struct Line {
  const char* face = "Liberation Sans";
  const char* text = nullptr;  // UTF-8, or null for glyphs
  std::vector<unsigned long> glyphs{};
  double em = 32, x = 0, y = 0, advance = 0;
  std::vector<double> advances{};  // one a glyph, in place of advance
  cairo_matrix_t matrix{1, 0, 0, 1, 0, 0};
  bool bold = false;
};

struct Row {
  Line line;
  bool matches;  // false: a misreading, which must differ
};

struct Probe {
  int x, y;
  Rgba colour;
};

// A box of the picture [x1, x2) x [y1, y2) with no ink.
struct Bare {
  int x1, y1, x2, y2;
};

struct Case {
  const char* file;
  int w, h;
  std::vector<Row> rows;
  std::vector<Probe> probes;
  std::vector<Bare> bare;
};

int InkIn(const Picture& picture, const Bare& box) {
  int count = 0;
  for (int y = box.y1; y < box.y2; ++y)
    for (int x = box.x1; x < box.x2; ++x) count += picture.At(x, y).a > 0;
  return count;
}

// The alpha of the line drawn alone on a w x h picture.
std::vector<uint8_t> Ink(const Line& line, int w, int h) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  cairo_t* cr = cairo_create(surface);
  cairo_set_matrix(cr, &line.matrix);
  cairo_select_font_face(cr, line.face, CAIRO_FONT_SLANT_NORMAL,
                         line.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, line.em);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  std::vector<cairo_glyph_t> glyphs;
  if (line.text != nullptr) {
    cairo_glyph_t* found = nullptr;
    int count = 0;
    cairo_scaled_font_text_to_glyphs(cairo_get_scaled_font(cr), line.x, line.y, line.text, -1,
                                     &found, &count, nullptr, nullptr, nullptr);
    glyphs.assign(found, found + count);
    cairo_glyph_free(found);
  } else {
    for (unsigned long index : line.glyphs) glyphs.push_back({index, line.x, line.y});
  }
  if (line.advance > 0)
    for (size_t i = 0; i < glyphs.size(); ++i) glyphs[i].x = line.x + line.advance * i;
  double x = line.x;
  for (size_t i = 0; i < glyphs.size() && i < line.advances.size(); x += line.advances[i++])
    glyphs[i].x = x;
  cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
  cairo_surface_flush(surface);
  std::vector<uint8_t> alpha(static_cast<size_t>(w) * h);
  const uint8_t* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h; ++y) std::copy_n(data + y * stride, w, alpha.begin() + y * w);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return alpha;
}

// How far the picture's ink differs from the line's, around the line: the summed difference
// of alpha over the summed larger alpha, 0 for the same ink, 1 for ink in other places.
double Difference(const Picture& picture, const std::vector<uint8_t>& line) {
  int x0 = picture.w, y0 = picture.h, x1 = 0, y1 = 0;
  for (int y = 0; y < picture.h; ++y)
    for (int x = 0; x < picture.w; ++x)
      if (line[y * picture.w + x] > 0)
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  double differ = 0, total = 0;
  for (int y = std::max(0, y0 - 6); y < std::min(picture.h, y1 + 7); ++y)
    for (int x = std::max(0, x0 - 6); x < std::min(picture.w, x1 + 7); ++x) {
      int a = picture.At(x, y).a, b = line[y * picture.w + x];
      differ += std::abs(a - b);
      total += std::max(a, b);
    }
  return total > 0 ? differ / total : 1;
}

// The world transform of the files that turn their text: counterclockwise as seen, about (cx, cy).
cairo_matrix_t Turn(double degrees, double cx, double cy) {
  double c = std::cos(degrees * std::numbers::pi / 180),
         s = std::sin(degrees * std::numbers::pi / 180);
  return cairo_matrix_t{c, -s, s, c, cx - c * cx - s * cy, cy + s * cx - c * cy};
}

cairo_matrix_t Shear() { return cairo_matrix_t{1, 0, -0.5, 1, 0, 0}; }

std::vector<double> Scaled(std::vector<double> units, double scale) {
  for (double& unit : units) unit *= scale;
  return units;
}

// A line whose glyphs stay upright at the point the matrix takes (x, y) to.
Line Upright(Line line) {
  cairo_matrix_transform_point(&line.matrix, &line.x, &line.y);
  cairo_matrix_init_identity(&line.matrix);
  return line;
}

std::vector<Case> Cases() {
  Line polish{.text = "Zażółć gęślą jaźń", .x = 10, .y = 50};
  Line russian{.text = "Съешь ещё", .x = 10, .y = 110, .advance = 30};
  Line greek{.text = "Ξεσκεπάζω", .x = 10, .y = 170, .advance = 30};
  Line turned{.text = "Turned", .x = 120, .y = 100, .advance = 26, .matrix = Turn(30, 200, 100)};
  Line kept{.text = "Turned", .x = 120, .y = 170, .advance = 26, .matrix = Turn(30, 200, 100)};
  Line slanted{.text = "Turned", .x = 240, .y = 250, .advance = 26, .matrix = Shear()};
  Line filled{.text = "HO", .em = 100, .x = 10, .y = 100, .advance = 80, .bold = true};
  Line clip{.text = "HO", .em = 100, .x = 200, .y = 100, .advance = 80, .bold = true};
  // LibreOffice's WMF and EMF of one drawing: its units to pixels, and its turned line's matrix.
  double wx = 372 / 9831.0, wy = 272 / 7186.0, ex = 96 / 2540.0 * 372 / (98.30 * 372 / 98),
         ey = 96 / 2540.0 * 272 / (71.85 * 272 / 71);
  double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
  return {
      {"libreoffice_text.wmf",
       372,
       272,
       {{{.text = "Съешь ещё", .em = 847 * wy, .x = 153 * wx, .y = 947 * wy}, true},
        {{.text = "Ñúåøü åù¸", .em = 847 * wy, .x = 153 * wx, .y = 947 * wy}, false},
        {{.text = "Ξεσκεπάζω", .em = 847 * wy, .x = 153 * wx, .y = 2534 * wy}, true},
        {{.text = "Zażółć gęślą", .em = 847 * wy, .x = 153 * wx, .y = 4122 * wy}, true},
        {{.text = "Turned", .em = 847 * wy, .matrix = {c, -s, s, c, 5709 * wx, 6503 * wy}}, true}},
       {},
       {}},
      {"libreoffice_text.emf",
       372,
       272,
       {{{.text = "Съешь ещё",
          .em = 847 * ey,
          .x = 153 * ex,
          .y = 947 * ey,
          .advances = Scaled({609, 529, 476, 688, 450, 238, 476, 688, 519}, ex)},
         true},
        {{.text = "Ξεσκεπάζω",
          .em = 847 * ey,
          .x = 153 * ex,
          .y = 2534 * ey,
          .advances = Scaled({556, 370, 529, 424, 370, 582, 503, 317, 456}, ex)},
         true},
        {{.text = "Zażółć gęślą",
          .em = 847 * ey,
          .x = 153 * ex,
          .y = 4122 * ey,
          .advances = Scaled({529, 476, 424, 476, 185, 424, 238, 476, 476, 424, 185, 392}, ex)},
         true},
        {{.text = "Turned",
          .em = 847 * ey,
          .advances = Scaled({476, 477, 291, 476, 476, 439}, ex),
          .matrix = {c, -s, s, c, 5709 * ex, 6503 * ey}},
         true}},
       {},
       {}},
      {"text_code_pages.wmf",
       560,
       200,
       {{polish, true},
        {{.text = "Za¿ó³æ gê\u009Cl¹ ja\u009Fñ", .x = 10, .y = 50}, false},
        {russian, true},
        {{.text = "Ñúåøü åù¸", .x = 10, .y = 110, .advance = 30}, false},
        {greek, true},
        {{.text = "ÎåóêåðÜæù", .x = 10, .y = 170, .advance = 30}, false}},
       {},
       // ETO_NO_RECT: the Greek line's box is not filled.
       {{0, 120, 5, 200}, {300, 120, 560, 200}}},
      {"text_kinds.emf",
       400,
       260,
       {{{.text = "Größe €5", .x = 10, .y = 50, .advance = 34}, true},
        {{.face = "WenQuanYi Micro Hei",
          .text = "日本語テキスト",
          .x = 10,
          .y = 110,
          .advance = 44},
         true},
        {{.face = "Standard Symbols PS", .text = "abgdp", .x = 10, .y = 170, .advance = 34}, true},
        {{.text = "abgdp", .x = 10, .y = 170, .advance = 34}, false},
        {{.face = "DejaVu Sans", .glyphs = {42, 79, 92, 83, 75}, .x = 10, .y = 230, .advance = 34},
         true}},
       {},
       // The glyph numbers of Arial's run name another face's glyphs: passed over.
       {{290, 190, 400, 260}}},
      {"text_world.emf",
       400,
       420,
       {{turned, true},
        {Upright(turned), false},
        {Upright(kept), true},
        {kept, false},
        {slanted, true},
        {Upright(slanted), false},
        {{.text = "Turned", .x = 210, .y = 330, .advance = 26}, true},
        {{.text = "Turned", .x = 210, .y = 390, .advance = 26}, true}},
       // ETO_OPAQUE fills its box; with ETO_NO_RECT nothing is filled.
       {{12, 302, kYellow}, {187, 343, kYellow}},
       {{200, 296, 400, 305}, {370, 296, 400, 420}}},
      {"text_poly.emf",
       400,
       130,
       {{{.text = "Poly", .x = 10, .y = 50, .advance = 30}, true},
        {{.text = "Text", .x = 200, .y = 100, .advance = 30}, true},
        {{.text = "Small", .x = 10, .y = 110}, true},
        {{.text = "Wide", .x = 200, .y = 40}, true}},
       {{380, 10, kYellow}},
       {}},
      {"text_path.emf",
       400,
       130,
       {{filled, true}, {clip, true}},
       // The glyphs filled from the path, and the clip path letting the rectangle through them
       // only: the H's stems and the O's ring, nothing in the O's hole or between the letters.
       {{18, 60, kRed},
        {70, 60, kRed},
        {131, 60, kNone},
        {208, 60, kBlue},
        {260, 60, kBlue},
        {321, 60, kNone},
        {190, 60, kNone}},
       {}},
  };
}

TEST(MetafileText, DrawsEachLineAsItsCharactersDrawnInItsFace) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.file);
    Picture picture = Decode(MetafileBytes(c.file));
    ASSERT_EQ(picture.w, c.w);
    ASSERT_EQ(picture.h, c.h);
    for (const Row& row : c.rows) {
      double difference = Difference(picture, Ink(row.line, c.w, c.h));
      const char* what = row.line.text != nullptr ? row.line.text : "glyph numbers";
      if (row.matches)
        EXPECT_LT(difference, 0.1) << what << " at " << row.line.x << "," << row.line.y;
      else
        EXPECT_GT(difference, 0.4) << "misread as " << what;
    }
    for (const Probe& probe : c.probes)
      EXPECT_TRUE(Near(picture.At(probe.x, probe.y), probe.colour))
          << "at " << probe.x << "," << probe.y;
    for (const Bare& box : c.bare)
      EXPECT_EQ(InkIn(picture, box), 0)
          << "in " << box.x1 << "," << box.y1 << " to " << box.x2 << "," << box.y2;
  }
}

// Text records of absurd counts, glyph numbers, sizes, transforms and bytes are drawn or passed
// over quickly and leave the picture drawable; glyph outlines gathered beyond the decode budget
// refuse the picture, as any shape does.
TEST(MetafileText, PassesOverAbsurdTextQuickly) {
  std::vector<uint8_t> bytes = MetafileBytes("absurd_text.emf");
  auto start = std::chrono::steady_clock::now();
  Picture picture = Decode(bytes);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(picture.w, 400);
  EXPECT_LT(seconds, 5.0);
  EXPECT_TRUE(Near(picture.At(200, 200), Rgba{0, 160, 0, 255})) << "the square after the text";
  EXPECT_EQ(Decode(MetafileBytes("text_over_budget.emf")).w, 0);
}

}  // namespace
