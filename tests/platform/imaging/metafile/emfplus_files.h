// Building EMF+ files in memory for the tests: an EMF of 192 x 192 pixels whose device units are
// its pixels (96 to the inch), an EMF+ header (dual or not) at 96 dpi made for a display, then
// EMF+ records gathered into comments (several to a comment) and EMF records between them.
// Objects and record data are written as little-endian bytes, field by field.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace kvtest {

struct Bytes {
  std::vector<uint8_t> b;

  Bytes& U8(uint8_t v) {
    b.push_back(v);
    return *this;
  }
  Bytes& U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  Bytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  Bytes& F32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return U32(bits);
  }
  Bytes& Floats(std::initializer_list<float> values) {
    for (float v : values) F32(v);
    return *this;
  }
  Bytes& Add(const Bytes& more) {
    b.insert(b.end(), more.b.begin(), more.b.end());
    return *this;
  }
  Bytes& Pad() {
    while (b.size() % 4) U8(0);
    return *this;
  }
  size_t Size() const { return b.size(); }
};

// Object kinds and record flags the tests name.
enum : uint8_t {
  kBrushObject = 1,
  kPenObject = 2,
  kPathObject = 3,
  kRegionObject = 4,
  kImageObject = 5,
  kFontObject = 6,
  kStringFormatObject = 7,
  kImageAttributesObject = 8,
};
constexpr uint16_t kSolid = 0x8000, kShort = 0x4000, kRelative = 0x0800, kAfter = 0x2000;

class PlusFile {
 public:
  static constexpr int kSide = 192;

  explicit PlusFile(bool dual = false, uint32_t dpi = 96) {
    Record(0x4001, dual ? 1 : 0, Bytes().U32(0xDBC01002).U32(1).U32(dpi).U32(dpi));
  }
  // An EMF+ record, in the comment being gathered.
  PlusFile& Record(uint16_t type, uint16_t flags, Bytes data = {}) {
    data.Pad();
    Bytes record;
    record.U16(type).U16(flags).U32(12 + static_cast<uint32_t>(data.Size()));
    record.U32(static_cast<uint32_t>(data.Size())).Add(data);
    comment_.Add(record);
    return *this;
  }
  // An object record: the slot, its kind, and its data whole.
  PlusFile& Object(uint8_t slot, uint8_t kind, const Bytes& data) {
    return Record(0x4008, static_cast<uint16_t>(kind << 8 | slot), data);
  }
  // Ends the comment being gathered; the next EMF+ record starts another.
  PlusFile& Split() {
    if (comment_.Size() == 0) return *this;
    Bytes data;
    data.U32(0x2B464D45).Add(comment_);
    Emf(70, Bytes().U32(static_cast<uint32_t>(data.Size())).Add(data));
    comment_ = Bytes();
    return *this;
  }
  PlusFile& Emf(uint32_t type, Bytes data) {
    if (type != 70) Split();
    data.Pad();
    records_.U32(type).U32(8 + static_cast<uint32_t>(data.Size())).Add(data);
    return *this;
  }
  // EMF records: a solid brush made and selected into slot 1, a rectangle in device units.
  PlusFile& EmfRect(uint32_t colorRef, int32_t l, int32_t t, int32_t r, int32_t b) {
    Emf(39, Bytes().U32(1).U32(0).U32(colorRef).U32(0));
    Emf(37, Bytes().U32(1));
    Emf(43, Bytes().I32(l).I32(t).I32(r).I32(b));
    return *this;
  }

  std::vector<uint8_t> Build() {
    Split();
    Bytes file;
    // 192 pixels at 96 to the inch are 50.8 mm; a device of 960 pixels in 254 mm makes one
    // device unit a pixel.
    file.U32(1).U32(88).I32(0).I32(0).I32(kSide - 1).I32(kSide - 1);
    file.I32(0).I32(0).I32(5080).I32(5080);
    file.U32(0x464D4520).U32(0x10000).U32(0).U32(0).U16(16).U16(0).U32(0).U32(0).U32(0);
    file.I32(960).I32(960).I32(254).I32(254);
    file.Add(records_);
    file.U32(14).U32(20).U32(0).U32(16).U32(20);
    uint32_t total = static_cast<uint32_t>(file.Size());
    std::memcpy(&file.b[48], &total, 4);
    return file.b;
  }

 private:
  Bytes comment_;
  Bytes records_;
};

// ---- objects ---------------------------------------------------------------------------------

constexpr uint32_t kVersion = 0xDBC01002;

inline Bytes SolidBrush(uint32_t argb) { return Bytes().U32(kVersion).U32(0).U32(argb); }

inline Bytes HatchBrush(uint32_t style, uint32_t fore, uint32_t back) {
  return Bytes().U32(kVersion).U32(1).U32(style).U32(fore).U32(back);
}

// A linear gradient across (x, y, w, h); optional: what the flags ask for, in their order.
inline Bytes LinearBrush(float x, float y, float w, float h, uint32_t from, uint32_t to,
                         uint32_t flags = 0, uint32_t wrap = 0, const Bytes& optional = {}) {
  return Bytes()
      .U32(kVersion)
      .U32(4)
      .U32(flags)
      .U32(wrap)
      .Floats({x, y, w, h})
      .U32(from)
      .U32(to)
      .U32(0)
      .U32(0)
      .Add(optional);
}

// A path gradient whose boundary is a polygon of points.
inline Bytes PathGradientBrush(uint32_t centreColor, float cx, float cy,
                               std::initializer_list<uint32_t> surround,
                               std::initializer_list<float> boundaryXy, uint32_t flags = 0,
                               const Bytes& optional = {}) {
  Bytes b;
  b.U32(kVersion).U32(3).U32(flags).U32(4).U32(centreColor).Floats({cx, cy});
  b.U32(static_cast<uint32_t>(surround.size()));
  for (uint32_t c : surround) b.U32(c);
  b.U32(static_cast<uint32_t>(boundaryXy.size() / 2));
  for (float v : boundaryXy) b.F32(v);
  return b.Add(optional);
}

// A pen: its flags and unit, its width, the optional fields its flags ask for, then its brush.
inline Bytes Pen(float width, uint32_t argb, uint32_t flags = 0, const Bytes& optional = {},
                 uint32_t unit = 0) {
  return Bytes().U32(kVersion).U32(0).U32(flags).U32(unit).F32(width).Add(optional).Add(
      SolidBrush(argb));
}

// A path of float points and their types.
inline Bytes PathObject(std::initializer_list<float> xy, std::initializer_list<uint8_t> types) {
  Bytes b;
  b.U32(kVersion).U32(static_cast<uint32_t>(types.size())).U32(0);
  for (float v : xy) b.F32(v);
  for (uint8_t t : types) b.U8(t);
  return b.Pad();
}

// The path of a box, as a path object's bytes without its version (for region nodes).
inline Bytes BoxPath(float x0, float y0, float x1, float y1) {
  return PathObject({x0, y0, x1, y0, x1, y1, x0, y1}, {0, 1, 1, 0x81});
}

// Region nodes: rectangles, combinations of two nodes, the empty and infinite regions.
inline Bytes RectNode(float x, float y, float w, float h) {
  return Bytes().U32(0x10000000).Floats({x, y, w, h});
}
inline Bytes CombineNode(uint32_t op, const Bytes& left, const Bytes& right) {
  return Bytes().U32(op).Add(left).Add(right);
}
inline Bytes PathNode(const Bytes& path) {
  return Bytes().U32(0x10000001).U32(static_cast<uint32_t>(path.Size())).Add(path);
}
inline Bytes Region(const Bytes& root) { return Bytes().U32(kVersion).U32(0).Add(root); }

inline Bytes Rect(float x, float y, float w, float h) { return Bytes().Floats({x, y, w, h}); }

// An image of pixels: its sides, stride and pixel format, then its data (an indexed format's
// palette, then its rows).
inline Bytes PixelImage(int32_t w, int32_t h, int32_t stride, uint32_t format, const Bytes& data) {
  return Bytes().U32(kVersion).U32(1).I32(w).I32(h).I32(stride).U32(format).U32(0).Add(data);
}
// A palette of ARGB colours, with alpha when flags has its first bit.
inline Bytes Palette(std::initializer_list<uint32_t> argb, uint32_t flags = 1) {
  Bytes b;
  b.U32(flags).U32(static_cast<uint32_t>(argb.size()));
  for (uint32_t c : argb) b.U32(c);
  return b;
}
// An image of a compressed file (PNG, JPEG, ...); the fields before it mean nothing.
inline Bytes CompressedImage(const std::vector<uint8_t>& file) {
  Bytes b;
  b.U32(kVersion).U32(1).I32(0).I32(0).I32(0).U32(0).U32(1);
  b.b.insert(b.b.end(), file.begin(), file.end());
  return b.Pad();
}
// An image of a metafile of a type (1 WMF, 2 placeable WMF, 3 EMF, 4 EMF+, 5 dual).
inline Bytes MetafileImage(uint32_t type, const std::vector<uint8_t>& file) {
  Bytes b;
  b.U32(kVersion).U32(2).U32(type).U32(static_cast<uint32_t>(file.size()));
  b.b.insert(b.b.end(), file.begin(), file.end());
  return b.Pad();
}
inline Bytes ImageAttributes(uint32_t wrap, uint32_t clampArgb) {
  return Bytes().U32(kVersion).U32(0).U32(wrap).U32(clampArgb).U32(0).U32(0);
}

// A font: em size, unit, style (1 bold, 2 italic, 4 underline, 8 strike-out), family.
inline Bytes Font(float em, uint32_t unit, uint32_t style, const char* family) {
  Bytes b;
  std::string name(family);
  b.U32(kVersion).F32(em).U32(unit).U32(style).U32(0).U32(static_cast<uint32_t>(name.size()));
  for (char c : name) b.U16(static_cast<uint8_t>(c));
  return b.Pad();
}
// A string format: flags, alignment across and down, margins (ems), tab stops.
inline Bytes StringFormat(uint32_t flags, uint32_t align, uint32_t lineAlign, float leading = 0,
                          float trailing = 0, std::initializer_list<float> tabs = {},
                          float firstTab = 0) {
  Bytes b;
  b.U32(kVersion).U32(flags).U32(0).U32(align).U32(lineAlign).U32(0).U32(0).F32(firstTab);
  b.U32(0).F32(leading).F32(trailing).F32(1).U32(0);
  b.U32(static_cast<uint32_t>(tabs.size())).U32(0);
  for (float t : tabs) b.F32(t);
  return b;
}
// A text as its UTF-16 units.
inline Bytes Utf16(const std::u16string& text) {
  Bytes b;
  for (char16_t c : text) b.U16(c);
  return b;
}

}  // namespace kvtest
