// Reading EMF+ brush objects.
#include "platform/imaging/metafile/emfplus_brush.h"

#include <algorithm>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/emfplus_hatch.h"
#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

// What a gradient or texture brush's flags say follows its fixed fields, in this order.
enum : uint32_t {
  kBrushBoundaryPath = 0x01,
  kBrushTransform = 0x02,
  kBrushPresetColors = 0x04,
  kBrushBlendFactorsH = 0x08,
  kBrushBlendFactorsV = 0x10,
  kBrushFocusScales = 0x40,
};

// Where the fields of a brush object start, after its version and type.
constexpr size_t kBrushData = 8;

bool ReadTransform(RecordReader& r, size_t* at, cairo_matrix_t* out) {
  double m[6];
  if (!ReadMatrix(r, *at, m)) return false;
  cairo_matrix_init(out, m[0], m[1], m[2], m[3], m[4], m[5]);
  *at += 24;
  return true;
}

// Positions, then a factor or a colour for each; positions are kept within 0 to 1 and in order.
bool ReadBlend(RecordReader& r, size_t* at, bool colors, PlusBlend* out) {
  size_t count = r.U32(*at);
  if (r.Short() || count < 2 || count > r.Size() / 8 || !r.Has(*at + 4, count * 8) ||
      !imaging::FitsBudget(count * sizeof(double)))
    return false;
  *out = PlusBlend{};
  double last = 0;
  for (size_t i = 0; i < count; ++i) {
    double position = 0, factor = 0;
    if (!ReadFloat(r, *at + 4 + i * 4, &position)) return false;
    last = std::clamp(position, last, 1.0);
    out->positions.push_back(last);
    size_t valueAt = *at + 4 + count * 4 + i * 4;
    if (colors) {
      out->colors.push_back(PlusColorOf(r.U32(valueAt)));
    } else {
      if (!ReadFloat(r, valueAt, &factor)) return false;
      out->factors.push_back(std::clamp(factor, 0.0, 1.0));
    }
  }
  *at += 4 + count * 8;
  return true;
}

// The optional blend of a gradient: preset colours, or factors (the horizontal ones first).
bool ReadGradientBlend(RecordReader& r, uint32_t flags, size_t* at, PlusBlend* out) {
  if (flags & kBrushPresetColors) return ReadBlend(r, at, true, out);
  if (flags & kBrushBlendFactorsH) {
    if (!ReadBlend(r, at, false, out)) return false;
    PlusBlend vertical;
    return !(flags & kBrushBlendFactorsV) || ReadBlend(r, at, false, &vertical);
  }
  if (flags & kBrushBlendFactorsV) return ReadBlend(r, at, false, out);
  return true;
}

bool ReadLinear(RecordReader& r, PlusBrush* brush) {
  uint32_t flags = r.U32(kBrushData);
  brush->wrap = r.U32(kBrushData + 4);
  if (!ReadFloat(r, 16, &brush->x) || !ReadFloat(r, 20, &brush->y) ||
      !ReadFloat(r, 24, &brush->w) || !ReadFloat(r, 28, &brush->h))
    return false;
  brush->color = PlusColorOf(r.U32(32));
  brush->second = PlusColorOf(r.U32(36));
  size_t at = 48;
  if ((flags & kBrushTransform) && !ReadTransform(r, &at, &brush->transform)) return false;
  return !r.Short() && ReadGradientBlend(r, flags, &at, &brush->blend);
}

// The boundary of a path gradient: a path object, or a closed polygon of points.
bool ReadBoundary(RecordReader& r, bool isPath, size_t* at, PlusBrush* brush) {
  size_t size = r.U32(*at);
  if (r.Short()) return false;
  if (isPath) {
    const uint8_t* bytes = r.Bytes(*at + 4, size);
    brush->boundary = bytes == nullptr ? nullptr : ReadPath(bytes, size);
    *at += 4 + size;
    return brush->boundary != nullptr;
  }
  auto polygon = std::make_shared<PlusPath>();
  if (!ReadPoints(r, *at + 4, size, PointForm::Float, &polygon->points, at)) return false;
  polygon->types.assign(polygon->points.size(), kPointLine);
  if (polygon->points.empty()) return false;
  polygon->types.front() = kPointStart;
  polygon->types.back() |= kPointClose;
  brush->boundary = polygon;
  return true;
}

bool ReadPathGradient(RecordReader& r, PlusBrush* brush) {
  uint32_t flags = r.U32(kBrushData);
  brush->wrap = r.U32(kBrushData + 4);
  brush->color = PlusColorOf(r.U32(16));
  size_t colors = r.U32(28);
  if (!ReadFloat(r, 20, &brush->centre.x) || !ReadFloat(r, 24, &brush->centre.y) ||
      colors > r.Size() / 4 || !r.Has(32, colors * 4))
    return false;
  for (size_t i = 0; i < colors; ++i) brush->surround.push_back(PlusColorOf(r.U32(32 + i * 4)));
  size_t at = 32 + colors * 4;
  if (!ReadBoundary(r, flags & kBrushBoundaryPath, &at, brush)) return false;
  if ((flags & kBrushTransform) && !ReadTransform(r, &at, &brush->transform)) return false;
  if (!ReadGradientBlend(r, flags, &at, &brush->blend)) return false;
  if (flags & kBrushFocusScales) {
    if (r.U32(at) != 2 || !ReadFloat(r, at + 4, &brush->focusX) ||
        !ReadFloat(r, at + 8, &brush->focusY))
      return false;
    brush->focusX = std::clamp(brush->focusX, 0.0, 1.0);
    brush->focusY = std::clamp(brush->focusY, 0.0, 1.0);
  }
  return !r.Short();
}

// A texture brush: its flags, wrap mode and transform, then an image object, which the image
// reader takes when there is one.
bool ReadTexture(RecordReader& r, PlusBrush* brush) {
  uint32_t flags = r.U32(kBrushData);
  brush->wrap = r.U32(kBrushData + 4);
  size_t at = 16;
  if ((flags & kBrushTransform) && !ReadTransform(r, &at, &brush->transform)) return false;
  if (r.Short() || at > r.Size()) return false;
  PlusObject image;
  if (ReadObjectOfKind(PlusKind::Image, r.Bytes(at, 0), r.Size() - at, &image))
    brush->texture = image.image;
  return true;
}

}  // namespace

PlusBrush SolidBrush(uint32_t argb) {
  PlusBrush brush;
  brush.color = PlusColorOf(argb);
  return brush;
}

std::shared_ptr<const PlusBrush> ReadBrush(const uint8_t* data, size_t size) {
  RecordReader r(data, size);
  auto brush = std::make_shared<PlusBrush>();
  brush->type = static_cast<BrushType>(r.U32(4));
  bool read = false;
  switch (brush->type) {
    case BrushType::Solid:
      brush->color = PlusColorOf(r.U32(kBrushData));
      read = !r.Short();
      break;
    case BrushType::Hatch:
      brush->hatch = r.U32(kBrushData);
      brush->color = PlusColorOf(r.U32(kBrushData + 4));
      brush->second = PlusColorOf(r.U32(kBrushData + 8));
      read = !r.Short() && brush->hatch <= kLastHatchStyle;
      break;
    case BrushType::Texture: read = ReadTexture(r, brush.get()); break;
    case BrushType::PathGradient: read = ReadPathGradient(r, brush.get()); break;
    case BrushType::LinearGradient: read = ReadLinear(r, brush.get()); break;
  }
  if (!read) return nullptr;
  return brush;
}

}  // namespace platform::metafile
