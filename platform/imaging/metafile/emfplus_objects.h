// The EMF+ object table: 64 slots, each holding the last object an EmfPlusObject record put there.
// An object too large for one record comes in pieces, each record flagged as continued and naming
// the whole object's size; the pieces are gathered (their memory from the decode budget) and the
// object is read once they add up to that size. Pieces that do not add up are dropped.
//
// Each kind of object is read by a function of its own file, found through one table in
// emfplus_objects.cpp (ReadObjectOfKind): brushes, pens, paths, regions, images
// (emfplus_image.*), fonts (emfplus_font.*), string formats (emfplus_string_format.*) and image
// attributes (emfplus_image_attributes.*), each keeping its contents behind the pointer of its
// kind below.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/imaging/metafile/emfplus_records.h"

namespace platform::metafile {

enum class PlusKind : uint8_t {
  None = 0,
  Brush = 1,
  Pen = 2,
  Path = 3,
  Region = 4,
  Image = 5,
  Font = 6,
  StringFormat = 7,
  ImageAttributes = 8,
  CustomLineCap = 9,
};

struct PlusBrush;
struct PlusPen;
struct PlusPath;
struct PlusRegion;
// Kept by the image, text and image-attribute readers, in files of their own.
struct PlusImage;
struct PlusFont;
struct PlusStringFormat;
struct PlusImageAttributes;

// What one slot holds: the pointer of its kind is set, the others are null.
struct PlusObject {
  PlusKind kind = PlusKind::None;
  std::shared_ptr<const PlusBrush> brush;
  std::shared_ptr<const PlusPen> pen;
  std::shared_ptr<const PlusPath> path;
  std::shared_ptr<const PlusRegion> region;
  std::shared_ptr<const PlusImage> image;
  std::shared_ptr<const PlusFont> font;
  std::shared_ptr<const PlusStringFormat> stringFormat;
  std::shared_ptr<const PlusImageAttributes> imageAttributes;
};

// Reads an object of the kind from its bytes (the object's data, after the record headers);
// false, leaving out untouched, for a damaged object or a kind no reader takes.
bool ReadObjectOfKind(PlusKind kind, const uint8_t* data, size_t size, PlusObject* out);

class PlusObjectTable {
 public:
  static constexpr size_t kSlots = 64;

  PlusObjectTable() = default;
  ~PlusObjectTable() { DropPending(); }
  PlusObjectTable(const PlusObjectTable&) = delete;
  PlusObjectTable& operator=(const PlusObjectTable&) = delete;

  // Plays an EmfPlusObject record: stores the object it defines, or gathers a piece of one;
  // fileSize bounds the size a continued object may claim.
  void Put(const PlusRecord& record, size_t fileSize);
  // Any record other than an object piece ends a gathering in progress, which is dropped.
  void Interrupt() { DropPending(); }

  // The object in the slot when it is of the kind, else null.
  const PlusObject* Get(uint32_t slot, PlusKind kind) const;
  const PlusBrush* Brush(uint32_t slot) const;
  const PlusPen* Pen(uint32_t slot) const;
  const PlusPath* Path(uint32_t slot) const;
  const PlusRegion* Region(uint32_t slot) const;

 private:
  // An object being gathered from continued records.
  struct Pending {
    uint8_t slot = 0;
    PlusKind kind = PlusKind::None;
    size_t total = 0;
    size_t filled = 0;
    uint8_t* bytes = nullptr;  // from the decode budget
  };

  void Store(uint8_t slot, PlusKind kind, const uint8_t* data, size_t size);
  void Gather(uint8_t slot, PlusKind kind, bool more, RecordReader& r, size_t fileSize);
  void DropPending();

  std::array<PlusObject, kSlots> slots_;
  Pending pending_;
};

}  // namespace platform::metafile
