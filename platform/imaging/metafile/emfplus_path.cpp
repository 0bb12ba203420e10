// Reading EMF+ path objects and turning them into outlines.
#include "platform/imaging/metafile/emfplus_path.h"

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

// The path's flags: points as 16-bit integers, types run-length encoded, points relative.
constexpr uint32_t kPathCompressed = 0x4000, kPathRunLengths = 0x1000, kPathRelative = 0x0800;

// Run-length encoded types: two bytes, the run's length in the low six bits of the first (its
// high bit marks a run of curve points), then the type.
bool ReadRunTypes(RecordReader& r, size_t at, size_t count, std::vector<uint8_t>* types) {
  while (types->size() < count) {
    uint8_t run = r.U8(at) & 0x3F, type = r.U8(at + 1);
    if (r.Short() || run == 0 || run > count - types->size()) return false;
    types->insert(types->end(), run, type);
    at += 2;
  }
  return true;
}

}  // namespace

std::shared_ptr<const PlusPath> ReadPath(const uint8_t* data, size_t size) {
  RecordReader r(data, size);
  size_t count = r.U32(4);
  uint32_t flags = r.U32(8);
  if (r.Short()) return nullptr;
  auto path = std::make_shared<PlusPath>();
  size_t at = 0;
  PointForm form = PointFormOf(flags, kPathCompressed, kPathRelative);
  if (!ReadPoints(r, 12, count, form, &path->points, &at)) return nullptr;
  if (flags & kPathRunLengths) {
    if (!ReadRunTypes(r, at, count, &path->types)) return nullptr;
  } else {
    const uint8_t* types = r.Bytes(at, count);
    if (types == nullptr) return nullptr;
    path->types.assign(types, types + count);
  }
  return path;
}

void AddPlusPath(Path* out, const PlusPath& path, const cairo_matrix_t& m) {
  const std::vector<PointD>& p = path.points;
  auto at = [&](size_t i) { return Map(m, p[i].x, p[i].y); };
  for (size_t i = 0; i < p.size(); ++i) {
    uint8_t type = path.types[i];
    if ((type & kPointTypeMask) == kPointStart || !out->Open()) {
      out->MoveTo(at(i));
    } else if ((type & kPointTypeMask) == kPointBezier && i + 2 < p.size()) {
      out->CurveTo(at(i), at(i + 1), at(i + 2));
      i += 2;
      type = path.types[i];
    } else {
      out->LineTo(at(i));
    }
    if (type & kPointClose) out->Close();
  }
}

}  // namespace platform::metafile
