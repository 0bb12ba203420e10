// Damaged and hostile EMF+ files: a damaged record structure refuses the file, as a damaged EMF
// does; absurd values (NaN and infinite coordinates, pens a billion pixels wide, regions and
// containers nested thousands deep, objects claiming gigabytes) are drawn or passed over quickly.
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "platform/imaging/metafile/emfplus_files.h"
#include "platform/imaging/metafile/metafile_files.h"

namespace {

using kvtest::Bytes;
using kvtest::Decode;
using kvtest::Picture;
using kvtest::PlusFile;
using kvtest::Rgba;

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00;
constexpr Rgba kR{255, 0, 0, 255}, kG{0, 255, 0, 255};
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

enum : uint16_t {
  kFillRects = 0x400A,
  kFillPolygon = 0x400C,
  kDrawLines = 0x400D,
  kFillRegion = 0x4013,
  kFillPath = 0x4014,
  kBeginContainerNoParams = 0x4028,
  kSetWorld = 0x402A,
  kScaleWorld = 0x402E,
  kClipRect = 0x4032,
  kClipRegion = 0x4034,
};

PlusFile& FillColor(PlusFile& f, uint32_t argb, float x, float y, float w, float h) {
  return f.Record(kFillRects, kvtest::kSolid,
                  Bytes().U32(argb).U32(1).Add(kvtest::Rect(x, y, w, h)));
}

void Put32(std::vector<uint8_t>* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

bool Refused(const std::vector<uint8_t>& bytes) { return Decode(bytes).w == 0; }

// The file: its header, one comment holding the EMF+ header (28 bytes from 104) and a FillRects
// record at 132 (size at 136, data size at 140), and the end.
std::vector<uint8_t> Plain() {
  PlusFile f;
  FillColor(f, kRed, 10, 10, 40, 40);
  return f.Build();
}

TEST(EmfPlusRefusals, RefusesEveryCutAndADamagedRecordStructure) {
  std::vector<uint8_t> bytes = Plain();
  ASSERT_FALSE(Refused(bytes));
  for (size_t length = 0; length < bytes.size(); ++length)
    ASSERT_TRUE(Refused(std::vector<uint8_t>(bytes.begin(), bytes.begin() + length)))
        << "cut to " << length;
  const struct {
    size_t at;
    uint32_t value;
    const char* what;
  } kDamage[] = {
      {136, 0, "a record size of zero"},
      {136, 8, "a record smaller than its header"},
      {136, 40, "a record running past its comment"},
      {136, 0xFFFFFFF0, "a record size of gigabytes"},
      {140, 40, "data running past its record"},
      {140, 0xFFFFFFF0, "a data size of gigabytes"},
  };
  for (const auto& damage : kDamage) {
    std::vector<uint8_t> damaged = bytes;
    Put32(&damaged, damage.at, damage.value);
    EXPECT_TRUE(Refused(damaged)) << damage.what;
  }
}

// A region of count rectangles combined by union, nested to the left (each node's left child is
// the union so far) or to the right.
Bytes DeepRegion(int count, bool left) {
  Bytes root;
  auto rect = [](int i) { return kvtest::RectNode(static_cast<float>(i % 180), 0, 4, 100); };
  if (left) {
    for (int i = 1; i < count; ++i) root.U32(2);
    root.Add(rect(0));
    for (int i = 1; i < count; ++i) root.Add(rect(i));
  } else {
    for (int i = 0; i + 1 < count; ++i) root.U32(2).Add(rect(i));
    root.Add(rect(count - 1));
  }
  return kvtest::Region(root);
}

struct Hostile {
  const char* what;
  std::function<void(PlusFile&)> records;
  std::function<void(const Picture&)> check;
};

const std::vector<Hostile> kHostile = {
    {"NaN and infinite coordinates, transforms and pen widths are passed over",
     [](PlusFile& f) {
       FillColor(f, kRed, kNaN, 0, 100, 100);
       FillColor(f, kRed, 0, 0, kInfinity, 100);
       f.Record(kFillPolygon, kvtest::kSolid,
                Bytes().U32(kRed).U32(3).Floats({0, 0, kInfinity, 0, 0, 100}));
       f.Record(kSetWorld, 0, Bytes().Floats({kNaN, 0, 0, 1, 0, 0}));
       f.Object(0, kvtest::kPenObject, kvtest::Pen(kNaN, kRed));
       f.Record(kDrawLines, 0, Bytes().U32(2).Floats({0, 150, 192, 150}));
       f.Object(1, kvtest::kPathObject, kvtest::PathObject({0, 0, kNaN, 0, 0, 100}, {0, 1, 0x81}));
       f.Record(kFillPath, kvtest::kSolid | 1, Bytes().U32(kRed));
       FillColor(f, kGreen, 10, 10, 40, 40);
     },
     [](const Picture& p) {
       EXPECT_EQ(p.Count(0, 0, 192, 192, kR, 0), 0);
       EXPECT_EQ(p.Count(0, 0, 192, 192, kG, 0), 40 * 40) << "the transform is unchanged";
     }},
    {"pens a billion pixels wide, and coordinates near the float range",
     [](PlusFile& f) {
       f.Object(0, kvtest::kPenObject, kvtest::Pen(1e9f, kRed));
       f.Record(kDrawLines, 0, Bytes().U32(3).Floats({-1e30f, 0, 1e30f, 5, -1e30f, 10}));
       f.Record(kScaleWorld, 0, Bytes().Floats({1e6f, 1e6f}));
       f.Object(1, kvtest::kPenObject,
                kvtest::Pen(1e3f, kGreen, 0x20 | 0x100, Bytes().U32(5).U32(2).Floats({1e-6f, 1})));
       f.Record(kDrawLines, 1, Bytes().U32(2).Floats({0, 0, 1e30f, 1e30f}));
     },
     [](const Picture& p) {
       EXPECT_EQ(p.Count(0, 0, 192, 192, kR, 0) + p.Count(0, 0, 192, 192, kG, 0), 192 * 192);
     }},
    {"regions nested five thousand deep, to either side",
     [](PlusFile& f) {
       f.Object(0, kvtest::kRegionObject, DeepRegion(5000, true));
       f.Record(kFillRegion, kvtest::kSolid | 0, Bytes().U32(kRed));
       f.Object(1, kvtest::kRegionObject, DeepRegion(5000, false));
       f.Record(kClipRegion, 1);
       FillColor(f, kGreen, 0, 50, 192, 142);
     },
     [](const Picture& p) {
       EXPECT_EQ(p.Count(0, 0, 192, 50, kR, 0), 183 * 50) << "the union of every rectangle";
       EXPECT_EQ(p.Count(0, 50, 192, 100, kG, 0), 183 * 50) << "clipped to it";
       EXPECT_EQ(p.Count(0, 100, 192, 192, kG, 0), 0);
     }},
    {"objects continued to gigabytes, and pieces beyond their claim",
     [](PlusFile& f) {
       Bytes path = kvtest::BoxPath(0, 0, 100, 100);
       f.Record(0x4008, 0x8000 | 3 << 8 | 0, Bytes().U32(0xFFFFFFF0).Add(path));
       f.Record(kFillPath, kvtest::kSolid | 0, Bytes().U32(kRed));
       f.Record(0x4008, 0x8000 | 3 << 8 | 1, Bytes().U32(8).Add(path));
       f.Record(kFillPath, kvtest::kSolid | 1, Bytes().U32(kRed));
       FillColor(f, kGreen, 10, 10, 10, 10);
     },
     [](const Picture& p) {
       EXPECT_EQ(p.Count(0, 0, 192, 192, kR, 0), 0);
       EXPECT_EQ(p.Count(0, 0, 192, 192, kG, 0), 100);
     }},
    {"containers a hundred thousand deep and clips of thousands of rectangles",
     [](PlusFile& f) {
       for (uint32_t i = 0; i < 100000; ++i) f.Record(kBeginContainerNoParams, 0, Bytes().U32(i));
       for (int i = 0; i < 3000; ++i)
         f.Record(kClipRect, i == 0 ? 0 : 2 << 8, kvtest::Rect(i % 96 * 2.0f, i * 0.05f, 1, 1));
       FillColor(f, kRed, 0, 0, 192, 192);
     },
     [](const Picture& p) { EXPECT_GT(p.Count(0, 0, 192, 192, kR, 0), 0); }},
    {"a path gradient of a hundred thousand boundary points",
     [](PlusFile& f) {
       Bytes brush;
       brush.U32(kvtest::kVersion)
           .U32(3)
           .U32(0)
           .U32(4)
           .U32(kRed)
           .Floats({96, 96})
           .U32(1)
           .U32(kGreen);
       brush.U32(100000);
       for (int i = 0; i < 100000; ++i)
         brush.Floats(
             {96 + 90 * std::cos(i * 6.2832f / 100000), 96 + 90 * std::sin(i * 6.2832f / 100000)});
       f.Object(0, kvtest::kBrushObject, brush);
       f.Record(kFillRects, 0, Bytes().U32(0).U32(1).Add(kvtest::Rect(0, 0, 192, 192)));
     },
     [](const Picture&) {}},
    // cairo divides a mesh's patches until they are small on the picture: thin triangles
    // reaching a billion pixels away took seconds. Such a boundary is not drawn; one within the
    // largest picture's breadth is, and quickly.
    {"path gradients of needles reaching far beyond the picture",
     [](PlusFile& f) {
       f.Object(0, kvtest::kBrushObject,
                kvtest::PathGradientBrush(kRed, 96, 96, {kGreen},
                                          {96, 80, 1e9f, -1e9f, 112, 96, -1e9f, 1e9f}));
       f.Record(kFillRects, 0, Bytes().U32(0).U32(1).Add(kvtest::Rect(0, 0, 96, 192)));
       f.Object(1, kvtest::kBrushObject,
                kvtest::PathGradientBrush(kRed, 96, 96, {kGreen},
                                          {96, 80, 16384, -16384, 112, 96, -16384, 16384}));
       f.Record(kFillRects, 0, Bytes().U32(1).U32(1).Add(kvtest::Rect(96, 0, 96, 192)));
     },
     [](const Picture& p) {
       auto painted = [&p](int x1, int x2) {
         int count = 0;
         for (int y = 0; y < 192; ++y)
           for (int x = x1; x < x2; ++x) count += p.At(x, y).a != 0;
         return count;
       };
       EXPECT_EQ(painted(0, 96), 0) << "a billion pixels away";
       EXPECT_GT(painted(96, 192), 0) << "along the needles";
       EXPECT_LT(painted(96, 192), 96 * 192) << "outside the needles";
     }},
};

TEST(EmfPlusRefusals, DrawsHostileRecordsQuickly) {
  for (const Hostile& hostile : kHostile) {
    SCOPED_TRACE(hostile.what);
    PlusFile f;
    hostile.records(f);
    std::vector<uint8_t> bytes = f.Build();
    auto start = std::chrono::steady_clock::now();
    Picture picture = Decode(bytes);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(picture.w, PlusFile::kSide);
    EXPECT_LT(seconds, 5.0);
    hostile.check(picture);
  }
}

}  // namespace
