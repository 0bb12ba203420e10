// Walking the directories of a TIFF file: each entry's value, each strip and tile, each page.
#include "platform/imaging/tiff_layout.h"

#include <algorithm>
#include <unordered_set>

namespace platform::imaging {

namespace {

constexpr uint16_t kImageWidth = 256;
constexpr uint16_t kImageLength = 257;
constexpr uint16_t kStripOffsets = 273;
constexpr uint16_t kStripByteCounts = 279;
constexpr uint16_t kTileOffsets = 324;
constexpr uint16_t kTileByteCounts = 325;
constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;

// Bytes of one value of each field type (0: a type the decoder skips, whose value is not read).
size_t TypeSize(uint16_t type) {
  static const uint8_t kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
  return type < sizeof kSizes ? kSizes[type] : 0;
}

class Walker {
 public:
  Walker(const uint8_t* data, size_t size) : data_(data), size_(size) {
    bigEndian_ = data[0] == 'M';
  }

  bool Walk(TiffLayout* out) {
    out->end = 8;
    uint64_t at = U32(4);
    for (bool first = true; at != 0; first = false) {
      if (!seen_.insert(at).second || !Directory(at, first, out, &at)) return false;
    }
    return out->width > 0 && out->height > 0;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  bool bigEndian_ = false;
  // Bytes of directories and strip tables read so far: real files never share them between
  // pages, so more than the file holds means directories made to overlap, and is refused
  // before the walk could take time out of proportion to the file.
  uint64_t examined_ = 0;
  std::unordered_set<uint64_t> seen_;

  uint32_t U16(size_t at) const {
    return bigEndian_ ? static_cast<uint32_t>(data_[at]) << 8 | data_[at + 1]
                      : static_cast<uint32_t>(data_[at + 1]) << 8 | data_[at];
  }
  uint32_t U32(size_t at) const {
    return bigEndian_ ? U16(at) << 16 | U16(at + 2) : U16(at + 2) << 16 | U16(at);
  }

  // Whether bytes [at, at + length) lie in the file; they then count toward its end.
  bool Take(uint64_t at, uint64_t length, TiffLayout* out) {
    if (at > size_ || length > size_ - at) return false;
    out->end = std::max<size_t>(out->end, at + length);
    return true;
  }

  // A SHORT or LONG value of an entry (the first, for a count above one).
  uint32_t Value(size_t entry) const {
    return U16(entry + 2) == kShort ? U16(entry + 8) : U32(entry + 8);
  }

  // Where an entry's values lie: in the entry itself when they fit in four bytes.
  size_t ValuesAt(size_t entry, uint64_t bytes) const {
    return bytes <= 4 ? entry + 8 : U32(entry + 8);
  }

  // Offsets and byte counts of the strips (or tiles): every piece must lie in the file.
  bool Pieces(size_t offsets, size_t counts, TiffLayout* out) {
    uint16_t offsetType = U16(offsets + 2), countType = U16(counts + 2);
    if ((offsetType != kShort && offsetType != kLong) ||
        (countType != kShort && countType != kLong))
      return false;
    // libtiff makes up the byte counts it lacks from the file's length, so a page whose counts
    // are missing or zero would decode differently with more bytes after it: it is damaged.
    uint64_t n = U32(offsets + 4);
    if (U32(counts + 4) != n) return false;
    size_t offsetSize = TypeSize(offsetType), countSize = TypeSize(countType);
    size_t offsetsAt = ValuesAt(offsets, U32(offsets + 4) * offsetSize);
    size_t countsAt = ValuesAt(counts, U32(counts + 4) * countSize);
    examined_ += n * (offsetSize + countSize);
    if (examined_ > size_) return false;
    for (uint64_t i = 0; i < n; ++i) {
      size_t o = offsetsAt + i * offsetSize, c = countsAt + i * countSize;
      uint32_t offset = offsetSize == 2 ? U16(o) : U32(o);
      uint32_t count = countSize == 2 ? U16(c) : U32(c);
      if ((count == 0 && offset != 0) || !Take(offset, count, out)) return false;
    }
    return true;
  }

  // One directory: its entries, their values, its strips or tiles; *next is the next page's.
  bool Directory(uint64_t at, bool first, TiffLayout* out, uint64_t* next) {
    if (!Take(at, 2, out)) return false;
    uint64_t count = U16(at);
    uint64_t length = 2 + 12 * count + 4;
    examined_ += length;
    if (examined_ > size_ || !Take(at, length, out)) return false;
    size_t pieces[4] = {0, 0, 0, 0};  // strip offsets, strip counts, tile offsets, tile counts
    for (uint64_t i = 0; i < count; ++i) {
      size_t entry = at + 2 + 12 * i;
      uint16_t tag = U16(entry), type = U16(entry + 2);
      uint64_t bytes = static_cast<uint64_t>(U32(entry + 4)) * TypeSize(type);
      if (bytes > 4 && !Take(U32(entry + 8), bytes, out)) return false;
      if (first && tag == kImageWidth)
        out->width = static_cast<int>(std::min(Value(entry), 0x7fffffffu));
      if (first && tag == kImageLength)
        out->height = static_cast<int>(std::min(Value(entry), 0x7fffffffu));
      if (tag == kStripOffsets) pieces[0] = entry;
      if (tag == kStripByteCounts) pieces[1] = entry;
      if (tag == kTileOffsets) pieces[2] = entry;
      if (tag == kTileByteCounts) pieces[3] = entry;
    }
    for (int kind = 0; kind < 4; kind += 2) {
      if ((pieces[kind] == 0) != (pieces[kind + 1] == 0)) return false;
      if (pieces[kind] != 0 && !Pieces(pieces[kind], pieces[kind + 1], out)) return false;
    }
    *next = U32(at + 2 + 12 * count);
    return true;
  }
};

}  // namespace

bool IsTiff(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 8) return false;
  return (data[0] == 'I' && data[1] == 'I' && data[2] == 42 && data[3] == 0) ||
         (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && data[3] == 42);
}

bool ReadTiffLayout(const uint8_t* data, size_t size, TiffLayout* out) {
  *out = TiffLayout{};
  if (!IsTiff(data, size)) return false;
  return Walker(data, size).Walk(out);
}

}  // namespace platform::imaging
