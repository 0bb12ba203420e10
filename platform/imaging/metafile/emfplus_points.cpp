// Reading EMF+ points, rectangles, floats and matrices.
#include "platform/imaging/metafile/emfplus_points.h"

#include <cmath>

#include "platform/imaging/decode_budget.h"

namespace platform::metafile {

namespace {

// A relative coordinate: 7 bits in one byte whose high bit is clear, or 15 bits in two bytes,
// the high bit of the first set and the first byte the high one. Sign-extended.
bool RelativeValue(RecordReader& r, size_t* at, double* out) {
  uint8_t first = r.U8(*at);
  if (!r.Has(*at, 1)) return false;
  if ((first & 0x80) == 0) {
    *out = (first & 0x40) ? static_cast<int>(first) - 0x80 : first;
    *at += 1;
    return true;
  }
  uint8_t second = r.U8(*at + 1);
  if (!r.Has(*at, 2)) return false;
  int value = (first & 0x7F) << 8 | second;
  *out = (value & 0x4000) ? value - 0x8000 : value;
  *at += 2;
  return true;
}

}  // namespace

PointForm PointFormOf(uint32_t flags, uint32_t compressedBit, uint32_t relativeBit) {
  if (flags & relativeBit) return PointForm::Relative;
  return (flags & compressedBit) ? PointForm::Short : PointForm::Float;
}

bool ReadFloat(RecordReader& r, size_t at, double* out) {
  if (!r.Has(at, 4)) return false;
  *out = r.F32(at);
  return std::isfinite(*out);
}

bool ReadMatrix(RecordReader& r, size_t at, double out[6]) {
  for (int i = 0; i < 6; ++i)
    if (!ReadFloat(r, at + i * 4, &out[i])) return false;
  return true;
}

bool ReadPoints(RecordReader& r, size_t at, size_t count, PointForm form, std::vector<PointD>* out,
                size_t* end) {
  out->clear();
  // Every form takes at least two bytes a point, which bounds the count before anything is kept.
  if (count > r.Size() / 2 || !imaging::FitsBudget(count * sizeof(PointD))) return false;
  out->reserve(count);
  PointD last;
  for (size_t i = 0; i < count; ++i) {
    PointD p;
    if (form == PointForm::Relative) {
      if (!RelativeValue(r, &at, &p.x) || !RelativeValue(r, &at, &p.y)) return false;
      p.x += last.x;
      p.y += last.y;
    } else if (form == PointForm::Short) {
      if (!r.Has(at, 4)) return false;
      p = {double(r.S16(at)), double(r.S16(at + 2))};
      at += 4;
    } else {
      if (!ReadFloat(r, at, &p.x) || !ReadFloat(r, at + 4, &p.y)) return false;
      at += 8;
    }
    out->push_back(p);
    last = p;
  }
  *end = at;
  return true;
}

bool ReadRects(RecordReader& r, size_t at, size_t count, bool small, std::vector<RectD>* out) {
  out->clear();
  size_t each = small ? 8 : 16;
  if (count > r.Size() / each || !r.Has(at, count * each)) return false;
  out->reserve(count);
  for (size_t i = 0; i < count; ++i) {
    size_t p = at + i * each;
    RectD rect;
    if (small) {
      rect = {double(r.S16(p)), double(r.S16(p + 2)), double(r.S16(p + 4)), double(r.S16(p + 6))};
    } else if (!ReadFloat(r, p, &rect.x) || !ReadFloat(r, p + 4, &rect.y) ||
               !ReadFloat(r, p + 8, &rect.w) || !ReadFloat(r, p + 12, &rect.h)) {
      return false;
    }
    out->push_back(rect);
  }
  return true;
}

}  // namespace platform::metafile
