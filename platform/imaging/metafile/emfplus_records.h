// The numbers of EMF+ records, the header fields every record opens with, and the bits their
// flags share. Records live in the data of EMF comments that begin with the "EMF+" mark, one
// after another; a number missing here is a record the player passes over.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/record_reader.h"

namespace platform::metafile {

constexpr uint32_t kEmfPlusMark = 0x2B464D45;  // "EMF+"

enum PlusRecordType : uint16_t {
  kPlusHeader = 0x4001,
  kPlusEndOfFile = 0x4002,
  kPlusComment = 0x4003,
  kPlusGetDc = 0x4004,
  kPlusMultiFormatStart = 0x4005,
  kPlusMultiFormatSection = 0x4006,
  kPlusMultiFormatEnd = 0x4007,
  kPlusObject = 0x4008,
  kPlusClear = 0x4009,
  kPlusFillRects = 0x400A,
  kPlusDrawRects = 0x400B,
  kPlusFillPolygon = 0x400C,
  kPlusDrawLines = 0x400D,
  kPlusFillEllipse = 0x400E,
  kPlusDrawEllipse = 0x400F,
  kPlusFillPie = 0x4010,
  kPlusDrawPie = 0x4011,
  kPlusDrawArc = 0x4012,
  kPlusFillRegion = 0x4013,
  kPlusFillPath = 0x4014,
  kPlusDrawPath = 0x4015,
  kPlusFillClosedCurve = 0x4016,
  kPlusDrawClosedCurve = 0x4017,
  kPlusDrawCurve = 0x4018,
  kPlusDrawBeziers = 0x4019,
  kPlusDrawImage = 0x401A,
  kPlusDrawImagePoints = 0x401B,
  kPlusDrawString = 0x401C,
  kPlusSetRenderingOrigin = 0x401D,
  kPlusSetAntiAliasMode = 0x401E,
  kPlusSetTextRenderingHint = 0x401F,
  kPlusSetTextContrast = 0x4020,
  kPlusSetInterpolationMode = 0x4021,
  kPlusSetPixelOffsetMode = 0x4022,
  kPlusSetCompositingMode = 0x4023,
  kPlusSetCompositingQuality = 0x4024,
  kPlusSave = 0x4025,
  kPlusRestore = 0x4026,
  kPlusBeginContainer = 0x4027,
  kPlusBeginContainerNoParams = 0x4028,
  kPlusEndContainer = 0x4029,
  kPlusSetWorldTransform = 0x402A,
  kPlusResetWorldTransform = 0x402B,
  kPlusMultiplyWorldTransform = 0x402C,
  kPlusTranslateWorldTransform = 0x402D,
  kPlusScaleWorldTransform = 0x402E,
  kPlusRotateWorldTransform = 0x402F,
  kPlusSetPageTransform = 0x4030,
  kPlusResetClip = 0x4031,
  kPlusSetClipRect = 0x4032,
  kPlusSetClipPath = 0x4033,
  kPlusSetClipRegion = 0x4034,
  kPlusOffsetClip = 0x4035,
  kPlusDrawDriverString = 0x4036,
  kPlusSerializableObject = 0x4038,
};

// Bits of a record's flags that several records share.
constexpr uint16_t kPlusSolidColor = 0x8000;  // the brush field holds a colour, not a slot
constexpr uint16_t kPlusCompressed = 0x4000;  // points and rectangles as 16-bit integers
constexpr uint16_t kPlusAppend = 0x2000;      // a transform applied after the world transform
constexpr uint16_t kPlusRelative = 0x0800;    // points relative to the one before, 7 or 15 bits
constexpr uint16_t kPlusSlotBits = 0x00FF;    // the object slot a record names

// The 12 bytes every EMF+ record opens with.
constexpr size_t kPlusRecordHeader = 12;

// One EMF+ record: its type and flags, and its data after the 12-byte header, which a
// RecordReader reads by offset from the data's start.
struct PlusRecord {
  uint16_t type = 0;
  uint16_t flags = 0;
  const uint8_t* data = nullptr;
  size_t size = 0;  // bytes of data, within the record

  RecordReader Reader() const { return RecordReader(data, size); }
  uint8_t Slot() const { return static_cast<uint8_t>(flags & kPlusSlotBits); }
};

}  // namespace platform::metafile
