// The record structure of a metafile, checked whole before anything is drawn: each record's
// size must be at least its own header, hold whole units (words of a WMF, four bytes of an EMF)
// and end inside the file, and the records must reach an end-of-file record. A file cut short,
// a record running past the end, and a zero or huge size are all refused here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/metafile/metafile_header.h"

namespace platform::metafile {

struct RecordSpan {
  uint32_t type = 0;              // a WMF's function number, an EMF's record type
  const uint8_t* data = nullptr;  // the whole record, its size and type fields included
  size_t size = 0;
};

// The record at offset at of the file, or false when it is damaged; *next is the offset after it.
bool RecordAt(const Header& header, const uint8_t* data, size_t size, size_t at, RecordSpan* out,
              size_t* next);
// True when every record from the header's first is whole and an end-of-file record is reached.
bool RecordsWhole(const Header& header, const uint8_t* data, size_t size);
// The type of the end-of-file record of the header's kind of metafile.
uint32_t EofType(const Header& header);

// Calls play(record) for each record from the header's first up to the end-of-file record, which
// is not played; true when that record is reached, false when a damaged record comes first.
template <typename Play>
bool ForEachRecord(const Header& header, const uint8_t* data, size_t size, Play play) {
  uint32_t eof = EofType(header);
  RecordSpan record;
  for (size_t at = header.firstRecord, next = 0; RecordAt(header, data, size, at, &record, &next);
       at = next) {
    if (record.type == eof) return true;
    play(record);
  }
  return false;
}

}  // namespace platform::metafile
