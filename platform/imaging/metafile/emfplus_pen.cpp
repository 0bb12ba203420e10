// Reading EMF+ pen objects.
#include "platform/imaging/metafile/emfplus_pen.h"

#include <algorithm>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

// What a pen's flags say follows its width, in this order.
enum : uint32_t {
  kPenTransform = 0x0001,
  kPenStartCap = 0x0002,
  kPenEndCap = 0x0004,
  kPenJoin = 0x0008,
  kPenMiterLimit = 0x0010,
  kPenLineStyle = 0x0020,
  kPenDashedLineCap = 0x0040,
  kPenDashOffset = 0x0080,
  kPenDashedLine = 0x0100,
  kPenAlignment = 0x0200,
  kPenCompoundLine = 0x0400,
  kPenCustomStartCap = 0x0800,
  kPenCustomEndCap = 0x1000,
};

// Widths no pen goes beyond, in its own unit: a pen a billion pixels wide is drawn as one wider
// than any picture, never handed to cairo as it is.
constexpr double kWidestPen = 1 << 20;
constexpr double kMostMiterLimit = 1000;

uint32_t Field(RecordReader& r, size_t* at) {
  uint32_t value = r.U32(*at);
  *at += 4;
  return value;
}

bool FloatField(RecordReader& r, size_t* at, double* out) {
  bool read = ReadFloat(r, *at, out);
  *at += 4;
  return read;
}

// A count, then that many floats.
bool Floats(RecordReader& r, size_t* at, std::vector<double>* out) {
  size_t count = Field(r, at);
  if (r.Short() || count > r.Size() / 4 || !imaging::FitsBudget(count * sizeof(double)))
    return false;
  for (size_t i = 0; i < count; ++i) {
    double value = 0;
    if (!FloatField(r, at, &value)) return false;
    out->push_back(value);
  }
  return true;
}

// A custom cap's data is passed over: its size, then its bytes.
bool SkipSized(RecordReader& r, size_t* at) {
  size_t size = Field(r, at);
  if (r.Short() || !r.Has(*at, size)) return false;
  *at += size;
  return true;
}

bool ReadOptional(RecordReader& r, uint32_t flags, size_t* at, PlusPen* pen) {
  double m[6];
  if (flags & kPenTransform) {
    if (!ReadMatrix(r, *at, m)) return false;
    cairo_matrix_init(&pen->transform, m[0], m[1], m[2], m[3], m[4], m[5]);
    *at += 24;
  }
  if (flags & kPenStartCap) pen->startCap = Field(r, at);
  if (flags & kPenEndCap) pen->endCap = Field(r, at);
  if (flags & kPenJoin) pen->join = Field(r, at);
  if ((flags & kPenMiterLimit) && !FloatField(r, at, &pen->miterLimit)) return false;
  if (flags & kPenLineStyle) pen->lineStyle = Field(r, at);
  if (flags & kPenDashedLineCap) pen->dashCap = Field(r, at);
  if ((flags & kPenDashOffset) && !FloatField(r, at, &pen->dashOffset)) return false;
  if ((flags & kPenDashedLine) && !Floats(r, at, &pen->dashes)) return false;
  if (flags & kPenAlignment) pen->alignment = Field(r, at);
  if ((flags & kPenCompoundLine) && !Floats(r, at, &pen->compound)) return false;
  if ((flags & kPenCustomStartCap) && !SkipSized(r, at)) return false;
  if ((flags & kPenCustomEndCap) && !SkipSized(r, at)) return false;
  return !r.Short();
}

}  // namespace

std::shared_ptr<const PlusPen> ReadPen(const uint8_t* data, size_t size) {
  RecordReader r(data, size);
  auto pen = std::make_shared<PlusPen>();
  uint32_t flags = r.U32(8);
  pen->unit = r.U32(12);
  size_t at = 20;
  if (r.Short() || !ReadFloat(r, 16, &pen->width) || !ReadOptional(r, flags, &at, pen.get()) ||
      at > size)
    return nullptr;
  pen->width = std::clamp(pen->width, 0.0, kWidestPen);
  pen->miterLimit = std::clamp(pen->miterLimit, 1.0, kMostMiterLimit);
  for (double& length : pen->dashes) length = std::clamp(length, 0.0, kWidestPen);
  for (double& edge : pen->compound) edge = std::clamp(edge, 0.0, 1.0);
  // The brush the pen paints with fills the rest of the object.
  std::shared_ptr<const PlusBrush> brush = ReadBrush(r.Bytes(at, 0), size - at);
  if (brush == nullptr) return nullptr;
  pen->brush = *brush;
  return pen;
}

}  // namespace platform::metafile
