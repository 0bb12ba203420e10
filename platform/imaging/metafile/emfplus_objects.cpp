// The EMF+ object table, continued objects, and the readers of each kind.
#include "platform/imaging/metafile/emfplus_objects.h"

#include <cstdlib>
#include <cstring>

#include "platform/imaging/decode_budget.h"
#include "platform/imaging/metafile/emfplus_brush.h"
#include "platform/imaging/metafile/emfplus_font.h"
#include "platform/imaging/metafile/emfplus_image.h"
#include "platform/imaging/metafile/emfplus_image_attributes.h"
#include "platform/imaging/metafile/emfplus_path.h"
#include "platform/imaging/metafile/emfplus_pen.h"
#include "platform/imaging/metafile/emfplus_region.h"
#include "platform/imaging/metafile/emfplus_string_format.h"

namespace platform::metafile {

namespace {

// An object record's flags: continued, the kind, the slot.
constexpr uint16_t kObjectContinued = 0x8000;
constexpr int kObjectKindShift = 8;
constexpr uint16_t kObjectKindBits = 0x7F;

using ObjectReader = bool (*)(const uint8_t* data, size_t size, PlusObject* out);

template <typename T>
bool Keep(std::shared_ptr<const T> read, std::shared_ptr<const T>* slot) {
  if (read == nullptr) return false;
  *slot = std::move(read);
  return true;
}

bool BrushObject(const uint8_t* data, size_t size, PlusObject* out) {
  return Keep(ReadBrush(data, size), &out->brush);
}
bool PenObject(const uint8_t* data, size_t size, PlusObject* out) {
  return Keep(ReadPen(data, size), &out->pen);
}
bool PathObject(const uint8_t* data, size_t size, PlusObject* out) {
  return Keep(ReadPath(data, size), &out->path);
}
bool RegionObject(const uint8_t* data, size_t size, PlusObject* out) {
  return Keep(ReadRegion(data, size), &out->region);
}
bool ImageObject(const uint8_t* data, size_t size, PlusObject* out) {
  return Keep(ReadImage(data, size), &out->image);
}
bool FontObject(const uint8_t* data, size_t size, PlusObject* out) {
  return Keep(ReadFont(data, size), &out->font);
}
bool StringFormatObject(const uint8_t* data, size_t size, PlusObject* out) {
  return Keep(ReadStringFormat(data, size), &out->stringFormat);
}
bool ImageAttributesObject(const uint8_t* data, size_t size, PlusObject* out) {
  return Keep(ReadImageAttributes(data, size), &out->imageAttributes);
}

// Object kinds to their readers; a kind missing here leaves its slot empty.
struct KindReader {
  PlusKind kind;
  ObjectReader read;
};
constexpr KindReader kReaders[] = {
    {PlusKind::Brush, BrushObject},
    {PlusKind::Pen, PenObject},
    {PlusKind::Path, PathObject},
    {PlusKind::Region, RegionObject},
    {PlusKind::Image, ImageObject},
    {PlusKind::Font, FontObject},
    {PlusKind::StringFormat, StringFormatObject},
    {PlusKind::ImageAttributes, ImageAttributesObject},
};

}  // namespace

bool ReadObjectOfKind(PlusKind kind, const uint8_t* data, size_t size, PlusObject* out) {
  if (data == nullptr) return false;
  for (const KindReader& reader : kReaders) {
    if (reader.kind != kind) continue;
    PlusObject read;
    if (!reader.read(data, size, &read)) return false;
    read.kind = kind;
    *out = std::move(read);
    return true;
  }
  return false;
}

void PlusObjectTable::Store(uint8_t slot, PlusKind kind, const uint8_t* data, size_t size) {
  // An object that cannot be read leaves its slot empty, so what names it draws nothing.
  PlusObject object;
  ReadObjectOfKind(kind, data, size, &object);
  slots_[slot] = std::move(object);
}

void PlusObjectTable::DropPending() {
  std::free(pending_.bytes);
  pending_ = Pending{};
}

void PlusObjectTable::Gather(uint8_t slot, PlusKind kind, bool more, RecordReader& r,
                             size_t fileSize) {
  // A continued record opens its data with the whole object's size; the last piece does not.
  size_t skip = more ? 4 : 0;
  size_t total = r.U32(0);
  bool same = pending_.bytes != nullptr && pending_.slot == slot && pending_.kind == kind;
  if (!same) {
    DropPending();
    // A whole object larger than the file cannot come from its pieces.
    if (!more || r.Short() || total == 0 || total > fileSize) return;
    pending_.bytes = static_cast<uint8_t*>(imaging::BudgetMalloc(total));
    if (pending_.bytes == nullptr) return;
    pending_ = Pending{slot, kind, total, 0, pending_.bytes};
  }
  if (more && total != pending_.total) return DropPending();
  size_t piece = r.Size() - skip;
  if (r.Size() < skip || piece > pending_.total - pending_.filled) return DropPending();
  std::memcpy(pending_.bytes + pending_.filled, r.Bytes(skip, piece), piece);
  pending_.filled += piece;
  // The object is read once its pieces fill it; a last piece that leaves it short drops it.
  if (pending_.filled == pending_.total) {
    Store(slot, kind, pending_.bytes, pending_.total);
    DropPending();
  } else if (!more) {
    DropPending();
  }
}

void PlusObjectTable::Put(const PlusRecord& record, size_t fileSize) {
  uint8_t slot = record.Slot();
  auto kind = static_cast<PlusKind>(record.flags >> kObjectKindShift & kObjectKindBits);
  bool more = (record.flags & kObjectContinued) != 0;
  if (slot >= kSlots) return DropPending();
  RecordReader r = record.Reader();
  bool continues = pending_.bytes != nullptr && pending_.slot == slot && pending_.kind == kind;
  if (more || continues) return Gather(slot, kind, more, r, fileSize);
  DropPending();
  Store(slot, kind, record.data, record.size);
}

const PlusObject* PlusObjectTable::Get(uint32_t slot, PlusKind kind) const {
  if (slot >= kSlots || slots_[slot].kind != kind) return nullptr;
  return &slots_[slot];
}

const PlusBrush* PlusObjectTable::Brush(uint32_t slot) const {
  const PlusObject* object = Get(slot, PlusKind::Brush);
  return object == nullptr ? nullptr : object->brush.get();
}

const PlusPen* PlusObjectTable::Pen(uint32_t slot) const {
  const PlusObject* object = Get(slot, PlusKind::Pen);
  return object == nullptr ? nullptr : object->pen.get();
}

const PlusPath* PlusObjectTable::Path(uint32_t slot) const {
  const PlusObject* object = Get(slot, PlusKind::Path);
  return object == nullptr ? nullptr : object->path.get();
}

const PlusRegion* PlusObjectTable::Region(uint32_t slot) const {
  const PlusObject* object = Get(slot, PlusKind::Region);
  return object == nullptr ? nullptr : object->region.get();
}

}  // namespace platform::metafile
