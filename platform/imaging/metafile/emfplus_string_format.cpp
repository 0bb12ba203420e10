// Reading EMF+ string format objects.
#include "platform/imaging/metafile/emfplus_string_format.h"

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/emfplus_points.h"
#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

namespace {

// The fields' offsets: after the version, the flags, language, alignments and digit settings.
constexpr size_t kFlags = 4, kAlign = 12, kLineAlign = 16, kFirstTab = 28, kLeading = 36,
                 kTrailing = 40, kTabCount = 52, kRangeCount = 56, kData = 60;
// Tab stops as floats; character ranges (first character, count) of 8 bytes each.
constexpr size_t kRangeBytes = 8;

}  // namespace

std::shared_ptr<const PlusStringFormat> ReadStringFormat(const uint8_t* data, size_t size) {
  RecordReader r(data, size);
  auto format = std::make_shared<PlusStringFormat>();
  format->flags = r.U32(kFlags);
  format->align = r.U32(kAlign);
  format->lineAlign = r.U32(kLineAlign);
  size_t tabs = r.U32(kTabCount), ranges = r.U32(kRangeCount);
  if (r.Short() || !ReadFloat(r, kFirstTab, &format->firstTab) ||
      !ReadFloat(r, kLeading, &format->leading) || !ReadFloat(r, kTrailing, &format->trailing) ||
      tabs > size / 4 || ranges > size / kRangeBytes ||
      !r.Has(kData, tabs * 4 + ranges * kRangeBytes) || !imaging::FitsBudget(tabs * sizeof(double)))
    return nullptr;
  for (size_t i = 0; i < tabs; ++i) {
    double stop = 0;
    if (!ReadFloat(r, kData + i * 4, &stop)) return nullptr;
    format->tabs.push_back(stop);
  }
  return format;
}

}  // namespace platform::metafile
