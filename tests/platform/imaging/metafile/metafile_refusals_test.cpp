// Damaged and hostile metafiles: a file cut anywhere is refused, as are zero, ragged and huge
// record sizes and absurd frames; object indices the table lacks are ignored; records with absurd
// values are drawn or passed over quickly.
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/imaging/metafile/metafile_files.h"
#include "platform/winapi/gdiplus.h"

namespace {

using kvtest::Decode;
using kvtest::MetafileBytes;
using kvtest::Near;
using kvtest::Picture;
using kvtest::Rgba;

const char* const kFiles[] = {"shapes.wmf",
                              "y_up.wmf",
                              "masked.wmf",
                              "text.wmf",
                              "shapes.emf",
                              "world.emf",
                              "clip.emf",
                              "pens.emf",
                              "arcs.emf",
                              "inside_frame.emf",
                              "libemf_inside_frame.emf",
                              "regions_gdi.emf",
                              "regions_gdi.wmf",
                              "flood.emf",
                              "flood.wmf",
                              "gradients.emf",
                              "inkscape_gradient.emf",
                              "polydraw.emf",
                              "clip_offset.emf",
                              "clip_offset.wmf",
                              "bitmaps.emf",
                              "text.emf",
                              "dual.emf",
                              "emfplus_only.emf",
                              "libemf_shapes.emf",
                              "libemf_paths.emf",
                              "libemf_text.emf",
                              "blits.emf",
                              "regions.emf",
                              "regions.wmf",
                              "libreoffice_scene.wmf",
                              "libreoffice_scene.emf",
                              "libreoffice_text.wmf",
                              "text_code_pages.wmf",
                              "text_kinds.emf",
                              "text_world.emf",
                              "text_path.emf",
                              "text_poly.emf",
                              "rops.emf",
                              "rop2.emf",
                              "masks.emf",
                              "palettes.emf",
                              "palettes.wmf",
                              "bitmap16.wmf",
                              "compressed.emf"};

void Put32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t Get32(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

bool Refused(const std::vector<uint8_t>& bytes) { return Decode(bytes).w == 0; }

TEST(MetafileRefusals, RefusesEveryFileCutShort) {
  for (const char* name : kFiles) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> bytes = MetafileBytes(name);
    ASSERT_FALSE(Refused(bytes));
    for (size_t length = 0; length < bytes.size(); ++length) {
      std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + length);
      ASSERT_TRUE(Refused(cut)) << "cut to " << length << " bytes";
    }
  }
}

TEST(MetafileRefusals, RefusesRecordSizesOfZeroOutOfStepOrPastTheEnd) {
  // The EMF's first record after its 88-byte header; the WMF's after its two headers (40 bytes),
  // whose size counts 16-bit words.
  std::vector<uint8_t> emf = MetafileBytes("shapes.emf");
  ASSERT_EQ(Get32(emf, 4), 88u);
  for (uint32_t size : {0u, 4u, 6u, 0xFFFFFFF0u, static_cast<uint32_t>(emf.size())}) {
    std::vector<uint8_t> damaged = emf;
    Put32(&damaged, 88 + 4, size);
    EXPECT_TRUE(Refused(damaged)) << "EMF record size " << size;
  }
  std::vector<uint8_t> wmf = MetafileBytes("shapes.wmf");
  for (uint32_t words : {0u, 2u, 0x7FFFFFFFu, 0xFFFFFFFFu, static_cast<uint32_t>(wmf.size() / 2)}) {
    std::vector<uint8_t> damaged = wmf;
    Put32(&damaged, 40, words);
    EXPECT_TRUE(Refused(damaged)) << "WMF record size " << words;
  }
  // A header that claims to be longer than the file.
  std::vector<uint8_t> damaged = emf;
  Put32(&damaged, 4, static_cast<uint32_t>(emf.size() + 4));
  EXPECT_TRUE(Refused(damaged));
}

TEST(MetafileRefusals, RefusesAbsurdFrames) {
  std::vector<uint8_t> emf = MetafileBytes("shapes.emf");
  struct Change {
    size_t at;
    uint32_t value;
    const char* what;
  };
  const Change kEmf[] = {
      {32, 0x7FFFFFFF, "a frame 21 km wide"},
      {32, 0, "a frame of no width"},
      {36, 0xFFFFF000, "a frame whose bottom is above its top"},
      {72, 0, "a device of no pixels"},
      {84, 0xFFFFFFFF, "a device of negative millimetres"},
  };
  for (const Change& change : kEmf) {
    std::vector<uint8_t> damaged = emf;
    Put32(&damaged, change.at, change.value);
    EXPECT_TRUE(Refused(damaged)) << change.what;
  }
  // The placeable WMF's box (16-bit left, top, right, bottom at 6) and units an inch (at 14).
  std::vector<uint8_t> wmf = MetafileBytes("shapes.wmf");
  std::vector<uint8_t> noInch = wmf;
  noInch[14] = noInch[15] = 0;
  EXPECT_TRUE(Refused(noInch)) << "no units an inch";
  std::vector<uint8_t> wide = wmf;
  wide[14] = 1, wide[15] = 0;  // 5760 units at 1 an inch: 552960 pixels
  EXPECT_TRUE(Refused(wide)) << "a side beyond 32767 pixels";
  std::vector<uint8_t> large = wmf;
  for (size_t at : {6, 8}) large[at] = large[at + 1] = 0;
  for (size_t at : {10, 12}) large[at] = 0x20, large[at + 1] = 0x4E;  // 20000
  large[14] = 96, large[15] = 0;
  EXPECT_TRUE(Refused(large)) << "20000 x 20000 pixels, beyond the 2^28 any image may have";
  std::vector<uint8_t> flat = wmf;
  flat[10] = flat[6], flat[11] = flat[7];  // right = left
  EXPECT_TRUE(Refused(flat)) << "a box of no width";
}

TEST(MetafileRefusals, IgnoresObjectIndicesTheTableLacks) {
  // The brush made and selected beyond the table is not taken: the default white brush fills.
  Picture emf = Decode(MetafileBytes("objects_out_of_range.emf"));
  ASSERT_EQ(emf.w, 378);
  EXPECT_TRUE(Near(emf.At(94, 94), Rgba{255, 255, 255, 255}));
  // The third brush has no entry in a table of two; the second stays selected.
  Picture wmf = Decode(MetafileBytes("objects_out_of_range.wmf"));
  ASSERT_EQ(wmf.w, 200);
  EXPECT_TRUE(Near(wmf.At(100, 100), Rgba{0, 0, 255, 255}));
}

TEST(MetafileRefusals, DrawsAbsurdRecordsQuickly) {
  struct Absurd {
    const char* file;
    int w;
    int x, y;  // a pixel that a shape over the whole picture covers
    Rgba colour;
  };
  // The rectangle over the whole 32-bit range, outlined with a pen as wide, covers the picture;
  // so do the raster files' last rectangles, XORed over nothing with a red brush.
  const Absurd kAbsurd[] = {{"absurd.emf", 378, 189, 141, Rgba{0, 0, 0, 255}},
                            {"absurd_raster.emf", 192, 96, 72, Rgba{0, 0, 0, 255}},
                            {"absurd_raster.wmf", 200, 100, 100, Rgba{255, 0, 0, 255}}};
  for (const Absurd& absurd : kAbsurd) {
    SCOPED_TRACE(absurd.file);
    std::vector<uint8_t> bytes = MetafileBytes(absurd.file);
    auto start = std::chrono::steady_clock::now();
    Picture picture = Decode(bytes);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(picture.w, absurd.w);
    EXPECT_LT(seconds, 5.0);
    EXPECT_TRUE(Near(picture.At(absurd.x, absurd.y), absurd.colour));
  }
}

// The records of fills and figures (gradients, flood fills, region frames and inversions,
// PolyDraw, AngleArc, the clip's offset, the brush origin) bare, with counts of 2^32 - 1, values
// at the ends of their ranges and a gradient of 4000 triangles each over the whole picture, are
// drawn or passed over quickly.
TEST(MetafileRefusals, DrawsAbsurdFillsAndFiguresQuickly) {
  for (const char* name : {"absurd_gdi.emf", "absurd_gdi.wmf"}) {
    SCOPED_TRACE(name);
    auto start = std::chrono::steady_clock::now();
    Picture picture = Decode(MetafileBytes(name));
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(picture.w, 0);
    EXPECT_LT(seconds, 5.0);
  }
}

// A flood fill of some two million spans (a picture of 4080 x 4080 pixels striped by a hatch)
// takes a fraction of a second in a normal build; the limit leaves room for the sanitizers. It
// reaches the picture's far corner.
TEST(MetafileRefusals, FloodFillsALargePictureQuickly) {
  auto start = std::chrono::steady_clock::now();
  Picture picture = Decode(MetafileBytes("flood_large.emf"));
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(picture.w, 4080);
  EXPECT_LT(seconds, 5.0);
  EXPECT_TRUE(Near(picture.At(4078, 4079), Rgba{255, 0, 0, 255}));
  EXPECT_TRUE(Near(picture.At(4079, 4079), Rgba{0, 0, 0, 255})) << "the hatch's last stripe";
}

// Strokes that would make cairo build a huge outline at once (a thousand round joins of a pen
// wider than the picture; ninety thousand dashes) are drawn in pieces, whole.
TEST(MetafileRefusals, DrawsStrokesOfManyJoinsAndDashes) {
  Picture wide = Decode(MetafileBytes("wide_pen_zigzag.emf"));
  ASSERT_EQ(wide.w, 200);
  EXPECT_EQ(wide.Count(0, 0, 200, 200, Rgba{255, 0, 0, 255}), 200 * 200);
  Picture dashed = Decode(MetafileBytes("fine_dashes.emf"));
  ASSERT_EQ(dashed.w, 200);
  EXPECT_EQ(dashed.Count(0, 0, 200, 200, Rgba{0, 0, 255, 255}), 200 * 200);
}

// A shape whose flattened outline would take more memory than the picture and file allow is
// refused, as any decoder refuses a picture beyond its budget.
TEST(MetafileRefusals, RefusesAShapeBeyondTheDecodeBudget) {
  std::vector<uint8_t> bytes = MetafileBytes("curves_over_budget.emf");
  ASSERT_FALSE(bytes.empty());
  EXPECT_TRUE(Refused(bytes));
}

// The imaging calls take metafiles like any other picture, in B, G, R, A order.
TEST(MetafileRefusals, LoadsThroughTheImagingCalls) {
  ULONG_PTR token = 0;
  GdiplusStartupInput input{};
  input.GdiplusVersion = 1;
  ASSERT_EQ(GdiplusStartup(&token, &input, nullptr), Ok);
  std::string path = std::string(KV_TEST_METAFILES) + "/shapes.emf";
  std::u16string wide(path.begin(), path.end());
  GpBitmap* bitmap = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromFile(wide.c_str(), &bitmap), Ok);
  UINT w = 0, h = 0;
  GdipGetImageWidth(bitmap, &w);
  GdipGetImageHeight(bitmap, &h);
  EXPECT_EQ(w, 378u);
  EXPECT_EQ(h, 283u);
  GpRect all{0, 0, static_cast<INT>(w), static_cast<INT>(h)};
  BitmapData locked{};
  ASSERT_EQ(GdipBitmapLockBits(bitmap, &all, ImageLockModeRead, PixelFormat32bppARGB, &locked), Ok);
  const uint8_t* red = static_cast<const uint8_t*>(locked.Scan0) + 94 * locked.Stride + 94 * 4;
  EXPECT_EQ(red[0], 0);
  EXPECT_EQ(red[2], 255);
  EXPECT_EQ(red[3], 255);
  GdipBitmapUnlockBits(bitmap, &locked);
  GdipDisposeImage(bitmap);
  GdiplusShutdown(token);
}

}  // namespace
