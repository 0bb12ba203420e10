// The EMF+ records inside an EMF comment: a comment whose data opens with the "EMF+" mark holds
// EMF+ records one after another, each 12 bytes of header (type, flags, size, data size) and its
// data. A record whose size is below its header or runs past the comment, or whose data runs past
// the record, is damaged; what is left of the comment after the last whole record (fewer bytes
// than a header) is passed over.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/emfplus_records.h"
#include "platform/imaging/metafile/metafile_header.h"
#include "platform/imaging/metafile/record_walk.h"

namespace platform::metafile {

// True for an EMF comment record that holds EMF+ records.
bool IsEmfPlusComment(const RecordSpan& record);
// The EMF+ record at offset *at of the comment's data; false at its end or at a damaged record
// (*damaged tells which). *at moves past it.
bool NextPlusRecord(const RecordSpan& comment, size_t* at, PlusRecord* out, bool* damaged);
// Calls play(record) for every EMF+ record of the comment; false when one is damaged.
template <typename Play>
bool ForEachPlusRecord(const RecordSpan& comment, Play play) {
  size_t at = 0;
  bool damaged = false;
  PlusRecord record;
  while (NextPlusRecord(comment, &at, &record, &damaged)) play(record);
  return !damaged;
}

// True when the EMF's first record is a comment that opens with an EMF+ header record.
bool HasEmfPlus(const Header& header, const uint8_t* data, size_t size);
// True when the EMF+ records of every EMF+ comment of the file are whole.
bool EmfPlusWhole(const Header& header, const uint8_t* data, size_t size);

}  // namespace platform::metafile
